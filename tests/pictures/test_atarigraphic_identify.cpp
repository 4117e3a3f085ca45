// Identification table and format info; the palette.
#include "test_atari_reference.h"
#include "test_atarigraphic_common.h"

namespace {

const QByteArray KoalaMagic("\xFF\x80\xC9\xC7", 4);

class AtariIdentify : public AtariGraphicTest {
protected:
    // Type code of a file of Size bytes named Name (real file written lower case).
    std::string TypeOf(const QString& Name, int Size, const QByteArray& Head = QByteArray()) {
        QByteArray Data(Size, '\x11');
        Data.replace(0, std::min<qsizetype>(Head.size(), Size), Head.left(Size));
        TAtariGraphic T;
        T.IdentifyFileType(Write(Name.toLower(), Data), Name);
        EXPECT_EQ(T.PicInfo.FileSize, Size);
        return T.PicInfo.FileType.toStdString();
    }
};

// The Koala magic at the start decides before size and extension, each of its bytes
// (a file of just the magic is left to the loader, a shorter one is none); 7684 bytes
// are Micropainter whatever the extension, the other sizes only go with their
// extensions; then the last dot's extension alone, compared case-sensitively; any
// other file is Micropainter.
TEST_F(AtariIdentify, EachMarkerSizeAndExtensionDecidesOnItsOwn) {
    // Head: 0 none, 1 the magic, 2 to 5 the magic with its byte 0 to 3 changed, 6
    // the magic one byte later.
    const struct {
        const char* Name;
        int Size, Head;
        const char* Type;
    } Rows[] = {
        {"A.GR8", 7680, 1, "KOA"},       {"A.PHO", 4, 1, "KOA"},          {"A.MIC", 3, 1, "MIC"},
        {"A.GR8", 7680, 2, "GR8"},       {"A.GR8", 7680, 3, "GR8"},       {"A.GR8", 7680, 4, "GR8"},
        {"A.GR8", 7680, 5, "GR8"},       {"A.GR8", 7680, 6, "GR8"},       {"A.GR8", 7684, 0, "MIC"},
        {"A.PHO", 7683, 0, "PHO"},       {"A.PHO", 7685, 0, "PHO"},       {"A.GR9", 7680, 0, "GR9"},
        {"A.GR9", 7679, 0, "MIC"},       {"A.GR9", 7681, 0, "MIC"},       {"A.GR9", 7720, 0, "MIC"},
        {"A.AP2", 7680, 0, "APAC2"},     {"A.AP2", 7679, 0, "MIC"},       {"A.AP2", 7681, 0, "MIC"},
        {"A.256", 7680, 0, "APAC2"},     {"A.256", 7679, 0, "MIC"},       {"A.256", 7681, 0, "MIC"},
        {"A.APC", 7720, 0, "APAC"},      {"A.APC", 7719, 0, "MIC"},       {"A.APC", 7721, 0, "MIC"},
        {"A.APC", 7680, 0, "MIC"},       {"A.PIC", 7680, 0, "GR8"},       {"A.BLD", 10, 0, "GR8"},
        {"A.TXT.GR8", 10, 0, "GR8"},     {"A.3D", 10, 0, "SOLIDSTATES"},  {"A.SOL", 10, 0, "SOLIDSTATES"},
        {"A.PHO", 10, 0, "PHO"},         {"A.ALB", 10, 0, "ALB"},         {"A.FNT", 10, 0, "FNT"},
        {"A.COL", 10, 0, "TECHNICOLOR"}, {"A.LUM", 10, 0, "TECHNICOLOR"}, {"A.BMP", 10, 0, "BMP"},
        {"A.JPG", 10, 0, "JPG"},         {"A.DOO", 10, 0, "DOO"},         {"A.PI1", 10, 0, "PI1"},
        {"A.PI2", 10, 0, "PI2"},         {"A.PI3", 10, 0, "PI3"},         {"A.PC1", 10, 0, "PC1"},
        {"A.PC2", 10, 0, "PC2"},         {"A.PC3", 10, 0, "PC3"},         {"A.NEO", 10, 0, "NEO"},
        {"A.PAC", 10, 0, "STAD"},        {"a.gr8", 7680, 0, "MIC"},       {"A.GR8.TXT", 10, 0, "MIC"},
        {"A", 7680, 0, "MIC"},
    };
    for (const auto& R : Rows) {
        QByteArray Head = R.Head ? KoalaMagic : QByteArray();
        if (R.Head >= 2 && R.Head <= 5) Head[R.Head - 2] = 0x11;
        EXPECT_EQ(TypeOf(R.Name, R.Size, R.Head == 6 ? "\x11" + Head : Head), R.Type)
            << R.Name << " " << R.Size;
    }
}

TEST_F(AtariIdentify, DisplayNameComesFromThePathAndForceTypeStops) {
    G.IdentifyFileType(Write("pic.gr8", QByteArray(7680, 0)));
    EXPECT_EQ(G.PicInfo.FileType, "GR8");
    TAtariGraphic F;
    F.PicInfo.ForceType = true;
    F.IdentifyFileType(Write("k.koa", KoalaMagic + QByteArray(40, 0)));
    EXPECT_EQ(std::make_pair(F.PicInfo.FileType, F.PicInfo.FileSize),
              std::make_pair(QString("UNK"), qint64(44)));
    EXPECT_THROW(G.IdentifyFileType(Dir.filePath("missing.gr8")), EInOutError);
}

TEST_F(AtariIdentify, KoalaCompressionFromByteSeven) {
    const char* Texts[] = {"0 = unkomprimiert", "1 = vert. komprimiert", "2 = horiz. komprimiert",
                           "<unknown>"};
    for (char C = 0; C < 4; ++C) {
        G.IdentifyFileType(Write("k.gr8", KoalaMagic + QByteArray(3, 0) + C + QByteArray(30, 7)), "K.GR8");
        G.SetFormatInfo();
        EXPECT_EQ(std::make_tuple(G.PicInfo.FileType, G.PicInfo.CompressionText, G.PicInfo.Width),
                  std::make_tuple(QString("KOA"), QString(Texts[int(C)]), 160));
    }
}

using AtariRender = AtariGraphicTest;

// Every colour value as a four-colour register draws its entry with bit 0 dropped;
// the look-up gives every entry. (The pages of each mode are compared pixel for
// pixel where files are opened.)
TEST_F(AtariRender, EveryPaletteEntry) {
    QImage Img = Blank(320, 192);
    G.PicBuffer[0] = 0x1B; // two pixels each of registers 0 to 3
    for (int N = 0; N < 256; N += 4) {
        for (int K = 0; K < 4; ++K) G.PicBuffer[7680 + K] = quint8(N + K);
        G.RenderPic(Img, 7684, 319, nullptr, 15, Base);
        for (int X = 0; X < 8; ++X) EXPECT_EQ(Img.pixel(X, 0), ref::Entry((N + X / 2) & 0xFE)) << N + X / 2;
    }
    for (int N = 0; N < 256; ++N) {
        const quint32 RGB = ref::Palette[N];
        EXPECT_EQ(TAtariGraphic::AtariColor(N), RGB >> 16 | (RGB & 0xFF00) | (RGB & 0xFF) << 16) << N;
    }
}

} // namespace
