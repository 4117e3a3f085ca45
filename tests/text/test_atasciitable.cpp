// The ATASCII table and font map: glyph pixels cell by cell, and their window.
#include "test_text_common.h"

#include "JPEGImage.h"
#include "test_drive_events.h"
#include "uChildWinATASCIITable.h"
#include "uMain.h"
#include "uRptATASCIITable.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
constexpr QRgb Black = 0xFF000000, White = 0xFFFFFFFF;
constexpr quint8 Empty[8] = {};
using TExpect = std::function<QRgb(int Row, int Col, bool Set)>;

// First pixel of the glyph drawn at Scale from (X, Y) that differs; "" when none does.
std::string Mismatch(const QImage& Img, int X, int Y, const quint8* Glyph, int Scale, const TExpect& Want) {
    for (int P = 0; P < 64 * Scale * Scale; ++P) {
        const int Px = P % (8 * Scale), Py = P / (8 * Scale), R = Py / Scale, C = Px / Scale;
        if (Img.pixel(X + Px, Y + Py) != Want(R, C, Glyph[R] & (0x80 >> C)))
            return QStringLiteral("(%1, %2)").arg(X + Px).arg(Y + Py).toStdString();
    }
    return "";
}
// Normal codes: black ink on the white sheet; inverse codes: white out of black.
TExpect Ink(int Code) {
    return [Code](int, int, bool Set) { return Set != (Code >= 128) ? Black : White; };
}
QPoint Row(int Code) {
    return QPoint(10 + 300 * (Code / 64), 15 + 18 * (Code % 64));
}

class ATASCIITable : public texttest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        LoadATASCIIFont();
        frmMain = Main = new TfrmMain;
        for (int I = 0; I < 1024; ++I) Bytes += char(I * 37 % 251);
        Font.LoadFromFile(Write("MYFONT.FNT", Bytes));
        Font.FontName = QStringLiteral("MYFONT.FNT");
        International.LoadBuiltinFont(2);
    }
    void TearDown() override {
        delete Main;
        frmMain = nullptr;
        WindowTest::TearDown();
    }
    QByteArray Bytes;
    TfrmMain* Main = nullptr;
    TAtariFont Font, Standard, International;
};
} // namespace

TEST_F(ATASCIITable, EveryCodeShowsItsGlyphsAndTheInternationalSwitchOnlyTheDifferingOnes) {
    QImage Img, Plain, Intl;
    DrawATASCIITable(Img, Font, false);
    ASSERT_EQ(Img.size(), QSize(1160, 1300));
    for (int Code = 0; Code < 256; ++Code) {
        const int X = Row(Code).x(), Y = Row(Code).y(), G = Code & 127;
        ASSERT_EQ(Mismatch(Img, X + 90, Y, &Font.FontATASCII[8 * G], 2, Ink(Code)), "") << Code;
        ASSERT_EQ(Mismatch(Img, X + 170, Y, &Font.FontInternal[8 * G], 2, Ink(Code)), "") << Code;
        ASSERT_EQ(Mismatch(Img, X + 110, Y, Empty, 2, Ink(0)) + Mismatch(Img, X + 190, Y, Empty, 2, Ink(0)),
                  "");
    }

    DrawATASCIITable(Plain, Standard, false);
    DrawATASCIITable(Intl, Standard, true);
    int Cells = 0;
    for (int Code = 0; Code < 256; ++Code)
        for (bool Internal : {false, true}) {
            const int X = Row(Code).x() + (Internal ? 190 : 110), Y = Row(Code).y(), G = Code & 127;
            const quint8* Std = &(Internal ? Standard.FontInternal : Standard.FontATASCII)[8 * G];
            const quint8* Int = &(Internal ? International.FontInternal : International.FontATASCII)[8 * G];
            const bool Differs = !std::equal(Std, Std + 8, Int);
            ASSERT_EQ(Mismatch(Intl, X, Y, Differs ? Int : Empty, 2, Ink(Differs ? Code : 0)), "") << Code;
            Cells += Differs;
            for (int P = 0; Differs && P < 256; ++P) Intl.setPixel(X + P % 16, Y + P / 16, White);
        }
    EXPECT_EQ(Cells, 4 * 29); // 29 glyphs, normal and inverse, in both orders
    EXPECT_EQ(Intl, Plain);   // and nothing else changes
}

TEST_F(ATASCIITable, FontMapCellsHoldSampleAndEnlargedGlyphOnTheCheckerboard) {
    QImage Img;
    DrawFontMap(Img, Font);
    ASSERT_EQ(Img.size(), QSize(975, 1250));
    const TExpect Board = [](int R, int C, bool Set) -> QRgb {
        return Set ? Black : (R + C) % 2 == 0 ? qRgb(0xA6, 0xCA, 0xF0) : qRgb(0xFF, 0xFB, 0xF0);
    };
    const TExpect Sample = [](int, int, bool Set) { return Set ? qRgb(255, 0, 0) : White; };
    for (int Code = 0; Code < 128; ++Code) {
        const int X = 10 + 95 * (Code % 10), Y = 20 + 85 * (Code / 10);
        ASSERT_EQ(Mismatch(Img, X, Y, &Font.FontATASCII[8 * Code], 9, Board), "") << Code;
        ASSERT_EQ(Mismatch(Img, X, Y - 10, &Font.FontATASCII[8 * Code], 1, Sample), "") << Code;
    }
    const QImage Before = Img;
    DrawFontMapCell(Img, 10, 20, Font, 9, 1, 128);
    DrawFontMapCell(Img, 10, 20, Font, 9, 2, 5);
    EXPECT_EQ(Img, Before);
}

TEST_F(ATASCIITable, WindowsShowTheirPicturesScrollSaveAndPrint) {
    QStringList Reports;
    SetReportOutputHook([&](TReportOutputChoice& C) {
        Reports << fGlobal->SelectedReport() + "|" + fGlobal->GetParam("Titel");
        C.Destination = TReportDestination::File;
        C.FileName = Dir.filePath(QStringLiteral("out%1.pdf").arg(Reports.size()));
        return true;
    });
    TChildWinATASCIITable* Table = TChildWinATASCIITable::CreateTable(Font, false);
    QImage Expected;
    DrawATASCIITable(Expected, Font, false);
    EXPECT_EQ(Table->imgATASCIITable->Picture, Expected);
    // Focused, the scroll box's frame lies around the table: the header's top rows show whole.
    Main->resize(625, 475);
    Main->show();
    QApplication::processEvents();
    TChildWinATASCIITable* Shown = TChildWinATASCIITable::CreateTable(Font, false);
    QApplication::processEvents();
    EXPECT_EQ(drive::WithoutFocusMark({Shown->ScrollBox1}), QStringList());
    const QRect Port = Shown->ScrollBox1->viewport()->geometry();
    ASSERT_GT(Port.height(), 4);
    const QImage Shot = Shown->ScrollBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Shot.copy(Port.x(), Port.y(), Port.width(), 4),
              Expected.convertToFormat(QImage::Format_RGB32).copy(0, 0, Port.width(), 4));
    for (int Delta : {-240, 60, 60}) { // half notches add up
        QWheelEvent E({5, 5}, {5, 5}, {}, {0, Delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Table->ScrollBox1->viewport(), &E);
    }
    EXPECT_EQ(Table->ScrollBox1->verticalScrollBar()->value(), 7);
    Table->btnReport->click();

    TChildWinATASCIITable* Map = TChildWinATASCIITable::CreateFontMap(Font);
    DrawFontMap(Expected = QImage(), Font);
    EXPECT_EQ(Map->imgATASCIITable->Picture, Expected);
    Map->PrintReport();
    EXPECT_EQ(Reports, QStringList({"ATASCTableReport|" + GetMsg("mATASCTable") + ": MYFONT.FNT",
                                    "FontMapReport|" + GetMsg("mFontMap") + ": MYFONT.FNT"}));
    EXPECT_EQ(PdfPages("out1.pdf") + PdfPages("out2.pdf"), 2);

    AnswerSave("map.bmp", 2);
    Map->SaveToFile();
    EXPECT_EQ(QImage(Dir.filePath("map.bmp")).convertToFormat(QImage::Format_RGB32), Expected);
    AnswerSave("map", 2);
    Map->SaveToFile();
    TJPEGImage Jpeg;
    Jpeg.LoadFromFile(Dir.filePath("map.JPG"));
    EXPECT_EQ(QSize(Jpeg.Width(), Jpeg.Height()), QSize(975, 1250));
    ExpectFilterExtensions([Map] { Map->SaveToFile(); }, {".BMP", ".JPG"});
    AnswerSave("map.png", 1);
    Map->SaveToFile();
    EXPECT_FALSE(QFile::exists(Dir.filePath("map.png")));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Warnung|"));
}
