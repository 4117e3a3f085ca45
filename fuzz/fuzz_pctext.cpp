// Fuzz target: a PC text file as the ASCII to ATASCII editor reads it, from memory:
// Windows-1252 to Unicode, into the editor's document and out again as CR LF lines,
// the conversion to ATASCII (whole and into short destinations) and the preview page.
#include "Cp1252.h"
#include "FileIO.h"
#include "FuzzSupport.h"
#include "uConvertA8.h"
#include "uTAtariFont.h"
#include "uTAtariText.h"

#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr int RenderedBytes = 512;
constexpr quint8 Guard = 0xA5; // never an ATASCII output byte (beyond 127, not 155)

bool IsOutputByte(quint8 B) {
    return B == 155 || (B >= 32 && B <= 122) || (B >= 124 && B <= 127);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    EnsureGuiApplication();
    static const auto Text = std::make_unique<TAtariText>();
    static const TAtariFont Font;
    const QByteArray File(reinterpret_cast<const char*>(Data), qsizetype(Size));

    // Every byte has one character, and the characters give the same bytes back.
    const QString Unicode = Cp1252ToUnicode(File);
    if (Unicode.size() != File.size()) FuzzFail("one character a byte");
    if (UnicodeToCp1252(Unicode) != File) FuzzFail("Windows-1252 round trip");

    // Opening: UTF-8 when valid, else Windows-1252; line ends of any kind become the
    // editor's paragraphs. Saving back keeps the encoding it was read in.
    TPCTextFormat Format;
    QTextDocument Editor;
    Editor.setPlainText(PCTextToEditorText(File, &Format));
    if ((Format.Encoding != TTextEncoding::Cp1252) !=
        IsValidUtf8(File.startsWith("\xEF\xBB\xBF") ? File.mid(3) : File))
        FuzzFail("encoding detection");
    const QByteArray Saved = EditorTextToFile(Editor.toPlainText(), Format);
    if (DetectTextEncoding(Saved) != Format.Encoding &&
        !(Format.Encoding == TTextEncoding::Cp1252 && IsValidUtf8(Saved)))
        FuzzFail("saved in another encoding");

    TConvertA8 Convert;
    Convert.Text = EditorTextToPCText(Editor.toPlainText());
    Convert.TextLength = int(Convert.Text.size());
    const int Lines = int(Convert.Text.count("\r\n"));
    TAtariText& T = *Text;
    T.Length = Convert.ToATASCII(T.Buffer.data(), int(T.Buffer.size()));
    if (T.Length < 0 || T.Length > 2 * Convert.TextLength) FuzzFail("count");
    int Eols = 0;
    for (int I = 0; I < T.Length; ++I) {
        if (!IsOutputByte(T.Buffer[size_t(I)])) FuzzFail("byte without an ATASCII form");
        Eols += T.Buffer[size_t(I)] == 155;
    }
    // A full buffer may have cut the last lines off.
    if (T.Length < TAtariText::BufferSize - 1 && Eols != Lines) FuzzFail("one end of line a line");

    // A short destination gets the start of the same bytes and nothing beyond its end;
    // only a character of two bytes may be left out at the end.
    const int Short = Size > 0 ? Data[0] % 64 : 0;
    std::vector<quint8> Dest(size_t(Short) + 8, Guard);
    const int Got = Convert.ToATASCII(Dest.data(), Short);
    if (Got > Short || Got < std::min(T.Length, Short) - 1) FuzzFail("short destination count");
    if (!std::equal(Dest.begin(), Dest.begin() + Got, T.Buffer.begin())) FuzzFail("short destination bytes");
    if (std::any_of(Dest.begin() + Got, Dest.end(), [](quint8 B) { return B != Guard; }))
        FuzzFail("wrote past the converted bytes");
    Convert.TextLength = Convert.TextLength + 1000; // beyond the text counts as the text
    if (Convert.ToATASCII(Dest.data(), Short) != Got) FuzzFail("length beyond the text");
    Convert.TextLength = -1;
    if (Convert.ToATASCII(Dest.data(), Short) != 0) FuzzFail("negative length");

    // The preview, with the line width and margin the editor allows.
    const int Cpl = 1 + int(Size % 160);
    const int Lm = int(Size / 3 % 81);
    QImage Page;
    try {
        Font.RenderText(Page, 1, T.Buffer.data(), std::min(T.Length, RenderedBytes), 0, 155, 0, 1, Cpl, Lm, 0,
                        0, 0xFFFFFF, 0x904F1F);
    } catch (const EMorvanelError&) {
        // A page too large to allocate is refused; that is not a fault.
    }
    return 0;
}

void MakeSeeds(const QString& Dir) {
    WriteSeed(Dir, "plain.txt", "Hello Atari\r\nSecond line\r\n");
    WriteSeed(Dir, "umlauts.txt",
              "Gr\xFC\xDF"
              "e \xC4\xD6\xDC\xE4\xF6\xFC\r\n{x}\t|~\x7F\r\n");
    WriteSeed(Dir, "utf8.txt",
              "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
              "e aus K\xC3\xB6ln\n\xE2\x82\xAC \xF0\x9F\x98\x80\n");
    WriteSeed(Dir, "lineends.txt", "unix\nmac\rdos\r\n\r\n\n\rlast line without end");
    QByteArray All;
    for (int C = 0; C < 256; ++C) All += char(C);
    WriteSeed(Dir, "allbytes.txt", All);
    WriteSeed(Dir, "long.txt", QByteArray(3000, 'A') + "\r\n" + QByteArray(200, '\xDF'));
}
