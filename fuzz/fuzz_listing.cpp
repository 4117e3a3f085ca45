// Fuzz target: a program listing from memory, typed as each listing extension in
// turn (the first byte chooses), then one output (the second byte chooses): PC text
// in both modes, rich text with every inverse style, as a document with its RTF, or
// the page the listing window draws.
#include "FuzzSupport.h"
#include "RichTextSink.h"
#include "uTAtariFont.h"
#include "uTAtariListing.h"

#include <QTextDocument>
#include <memory>

namespace {
constexpr int RenderedBytes = 512;

// Collects what a conversion writes, without a document.
class TPlainSink : public TRichTextSink {
public:
    QString Text;
    void InsertText(const QString& T) override { Text += T; }
    TRichStyle Style() const override { return FStyle; }
    void SetStyle(const TRichStyle& S) override { FStyle = S; }
    void SetOffset(int) override {}
    void NewParagraph() override { Text += QLatin1Char('\n'); }

private:
    TRichStyle FStyle;
};
const char* const Extensions[] = {"DEMO.LST", "DEMO.ACT", "DEMO.P", "DEMO.PAS", "DEMO.I", "DEMO.SRC"};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    EnsureGuiApplication();
    static const auto Listing = std::make_unique<TAtariListing>();
    static const TAtariFont Font;
    const int Kind = Size > 0 ? Data[0] % 6 : 0;
    TAtariListing& L = *Listing;
    L = TAtariListing();
    L.Clear();
    L.LoadFromData(QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)), qint64(Size));
    L.SetListingType(QString::fromLatin1(Extensions[Kind]));
    if (L.Length != int(std::min<size_t>(Size, TAtariListing::BufferSize)) || L.WasCut() != (Size > 65536))
        FuzzFail("length");
    // One output a run keeps runs short (each conversion builds a character table of
    // its own); the second byte chooses the output, the text mode and the inverse style.
    const int Choice = Size > 1 ? Data[1] : 0;
    switch (Choice % 4) {
    case 0:
        (void)L.ToText(quint8((Choice >> 2) & 1));
        break;
    case 1: {
        TPlainSink Sink;
        L.ToRichEdit(Sink, (Choice >> 2) & 3);
        if (L.Length > 0 && Sink.Text.isEmpty()) FuzzFail("no rich text");
        break;
    }
    case 2: {
        QTextDocument Doc;
        TTextDocumentSink Sink(Doc);
        L.ToRichEdit(Sink, (Choice >> 2) & 3);
        (void)DocumentToRtf(Doc);
        break;
    }
    default: {
        QImage Page;
        Font.RenderText(Page, 1, L.Buffer.data(), std::min(L.Length, RenderedBytes), L.ListingType, L.EOLCode,
                        L.TABCode, L.TabWidth, 40, 2, 0, 0, 0xFFFFFF, 0x904F1F);
        if (Page.isNull()) FuzzFail("page");
    }
    }
    return 0;
}

void MakeSeeds(const QString& Dir) {
    // Byte 0 picks the extension, byte 1 the output; each listing goes out with
    // every output, both text modes and several inverse styles.
    const auto Listing = [&](const QString& Name, char Kind, const QByteArray& Body) {
        for (char Choice = 0x20; Choice < 0x28; ++Choice)
            WriteSeed(Dir, Name + QString::number(Choice - 0x20), Kind + QByteArray(1, Choice) + Body);
    };
    const QByteArray Eol(1, char(155));
    Listing("basic.lst", '0',
            "REM \xC8\xC9 INVERSE" + Eol + "10 PRINT \"HI\x1B\x1C\"" + Eol + "20 GOTO 10" + Eol);
    Listing("action.act", 'y',
            "PROC main()" + Eol + "  PrintE(\"\x7D\")" + Eol + "RETURN" + Eol); // 'y' % 6 = 1
    Listing("pascal.pas", 'W', "var i: integer;\r\x7F\r");                      // 'W' % 6 = 3
    Listing("pascal.i", '^', "program x;\rbegin\r  writeln('a{b}');\rend.\r");  // '^' % 6 = 4
    Listing("atmas.src", '#', "\tLDA\t#1\r\tSTA\t$D01A\r\x7F\t\xFF\tRTS\r");    // '#' % 6 = 5
}
