// Reading Solid States files, well-formed and hostile.
#include "Solid3DTestUtil.h"
#include "test_common.h"

#include "FileIO.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<Tom3D> Loaded(const QByteArray& Data) {
    auto M = std::make_unique<Tom3D>();
    M->LoadFromData(Data);
    return M;
}
} // namespace

TEST(Tom3DLoad, PointsAndLinesLandInTheirColumns) {
    const auto M = Loaded(
        Records({"3", "1.5", "-2", "0.25", "10", "20", "30", "-1e2", "4.", ".5", "2", "1", "2", "3", "0"}));
    EXPECT_EQ(std::make_pair(M->PointCount, M->LineCount), std::make_pair(3, 2));
    EXPECT_EQ(std::make_tuple(M->X[1], M->X[2], M->X[3]), std::make_tuple(1.5, -2.0, 0.25));
    EXPECT_EQ(std::make_tuple(M->Y[1], M->Y[3], M->Z[1], M->Z[2], M->Z[3]),
              std::make_tuple(10.0, 30.0, -100.0, 4.0, 0.5));
    // The view point 0 is a valid end.
    EXPECT_EQ(std::make_tuple(M->Lines[1].FromPoint, M->Lines[1].ToPoint, M->Lines[2].FromPoint,
                              M->Lines[2].ToPoint),
              std::make_tuple(1, 2, 3, 0));
}

TEST(Tom3DLoad, EmptyModelsAndBytesAfterTheLastRecord) {
    const struct {
        QByteArray Data;
        int Points, Lines;
    } Cases[] = {
        {Records({"1", "1", "2", "3", "0", "garbage", "\xff"}), 1, 0}, // bytes after the end
        {Records({"-5", "1", "0", "0"}), 0, 1},                        // no records follow a count below 1
        {Records({"0", "-3"}), 0, 0},
    };
    for (const auto& C : Cases) {
        const auto M = Loaded(C.Data);
        EXPECT_EQ(M->PointCount, C.Points) << C.Data.toStdString();
        EXPECT_EQ(M->LineCount, C.Lines) << C.Data.toStdString();
    }
}

TEST(Tom3DLoad, AnyBadRecordLeavesAnEmptyModel) {
    const QByteArray Good = Records({"2", "1", "2", "3", "4", "5", "6", "1", "1", "2"});
    ASSERT_EQ(Loaded(Good)->LineCount, 1);
    const QList<QByteArray> Bad = {
        QByteArray("2\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n1\r\n1\r\n2\r\n"), // PC line ends
        Records({"2", "1", "2", "3", "4", "5", "6", "1", "1", "2 "}),     // trailing blank
        Records({"2", "1", "2", "3", "4", "5", "6", "1", "1", "2.0"}),    // fraction in an index
        Records({"2", "1", "2", "3", "4", "5", "x", "1", "1", "2"}),      // not a number
        Records({"2", "1", "2", "3", "4", "5", "1e999", "1", "1", "2"}),  // not finite
        Records({"2", "1", "2", "3", "4", "5", "inf", "1", "1", "2"}),
        Records({"99999999999", "1"}), // count past int
        QByteArray(),
    };
    for (const QByteArray& Data : Bad) {
        auto M = std::make_unique<Tom3D>();
        M->LoadFromData(Good);
        M->LoadFromData(Data);
        EXPECT_EQ(M->PointCount, 0) << Data.toStdString();
        EXPECT_EQ(M->LineCount, 0) << Data.toStdString();
    }
}

TEST(Tom3DLoad, FilesCutBeforeAnyRecordLoadNothing) {
    // One point and one line, one digit a record: a file cut anywhere before the last
    // digit lacks a record; only the end of line after the last one may be missing.
    // The cut is a view of the whole file, so a byte read past the cut would show.
    const QByteArray Full = Records({"1", "1", "2", "3", "1", "1", "1"});
    for (int Length = 0; Length <= Full.size(); ++Length) {
        const auto M = Loaded(QByteArray::fromRawData(Full.constData(), Length));
        const int Want = Length >= Full.size() - 1 ? 1 : 0;
        EXPECT_EQ(std::make_pair(M->PointCount, M->LineCount), std::make_pair(Want, Want)) << Length;
    }
}

TEST(Tom3DLoad, DecimalPointDoesNotDependOnTheLocale) {
    const QLocale Old;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto M = Loaded(Records({"1", "1.25", "-0.5", "3", "0"}));
    const auto Comma = Loaded(Records({"1", "1,25", "0", "0", "0"}));
    QLocale::setDefault(Old);
    EXPECT_EQ(std::make_tuple(M->PointCount, M->X[1], M->Y[1], Comma->PointCount),
              std::make_tuple(1, 1.25, -0.5, 0));
}

TEST(Tom3DLoad, CountsUpToTheModelsSizeAreKeptAndCutOnePast) {
    // N points and N lines: every coordinate record is read, at most 10000 of each
    // kept, and the y and z columns still start where they should.
    for (const int N : {Tom3D::MaxPoints, Tom3D::MaxPoints + 1}) {
        QStringList F{QString::number(N)};
        for (int Axis = 0; Axis < 3; ++Axis)
            for (int I = 1; I <= N; ++I) F << QString::number(Axis * 100000 + I);
        F << QString::number(N);
        for (int I = 1; I <= N; ++I) F << QString::number(I) << QString::number(N + 1 - I);
        const auto M = Loaded(Records(F));
        EXPECT_EQ(std::make_pair(M->PointCount, M->LineCount), std::make_pair(10000, 10000)) << N;
        EXPECT_EQ(std::make_tuple(M->X[10000], M->Y[1], M->Z[10000]),
                  std::make_tuple(10000.0, 100001.0, 210000.0));
        // Line 1 may end at point 10001: kept, drawing skips what it cannot reach.
        EXPECT_EQ(std::make_pair(M->Lines[1].ToPoint, M->Lines[10000].ToPoint), std::make_pair(N, N - 9999));
    }

    // A count far beyond the data ends at the end of the data.
    EXPECT_EQ(Loaded(Records({"2147483647", "1", "2", "3"}))->PointCount, 0);
    EXPECT_EQ(Loaded(Records({"1", "1", "2", "3", "2147483647", "1", "1"}))->LineCount, 0);
}

TEST_F(FileTest, Tom3DFilesAreReadByTheirRealPathAndFailuresReachTheCaller) {
    const QString Path = Write("wuerfel.3d", SolidFile({{1, 2, 3}, {4, 5, 6}}, {{1, 2}}));
    Tom3D M;
    M.RotateStep(); // started
    M.LoadFromFile(Path);
    EXPECT_EQ(M.FileName, "wuerfel.3d");
    EXPECT_EQ(M.PointCount, 2);
    EXPECT_EQ(M.RotationAngle, 360.0); // every load re-arms the rotation
    EXPECT_THROW(M.LoadFromFile(Dir.filePath("missing.3d")), EInOutError);
    EXPECT_EQ(M.PointCount, 2); // a file that cannot be read changes nothing
    // The largest file read, and one byte more.
    const QByteArray One = SolidFile({{1, 2, 3}}, {});
    for (const qint64 Size : {Tom3D::MaxFileSize, Tom3D::MaxFileSize + 1}) {
        WriteWholeFile(Path, One + QByteArray(Size - One.size(), ' '));
        EXPECT_EQ(ErrorOf([&] { M.LoadFromFile(Path); }).section(':', 0, 0),
                  Size > Tom3D::MaxFileSize ? QString::number(ioFileTooLarge) : "no error");
        EXPECT_EQ(M.PointCount, 1);
    }
    M.LoadFromData(Records({"1", "7", "8", "9", "0"})); // a reload clears the old points
    EXPECT_EQ(M.X[2], 0.0);
    EXPECT_EQ(M.Lines[1].FromPoint, 0);
}
