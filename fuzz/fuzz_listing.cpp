// Fuzz target: a program listing from memory, typed as each listing extension in
// turn (the first byte chooses): PC text in both modes, rich text with every inverse
// style, and the page the listing window draws.
#include "FuzzSupport.h"
#include "RichTextSink.h"
#include "uTAtariFont.h"
#include "uTAtariListing.h"

#include <QTextDocument>
#include <memory>

namespace {
constexpr int RenderedBytes = 512;
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
    (void)L.ToText(0);
    (void)L.ToText(1);
    QTextDocument Doc;
    TTextDocumentSink Sink(Doc);
    for (int Style = 0; Style <= 3; ++Style) L.ToRichEdit(Sink, Style);
    (void)DocumentToRtf(Doc);
    QImage Page;
    Font.RenderText(Page, 1, L.Buffer.data(), std::min(L.Length, RenderedBytes), L.ListingType, L.EOLCode,
                    L.TABCode, L.TabWidth, 40, 2, 0, 0, 0xFFFFFF, 0x904F1F);
    if (Page.isNull()) FuzzFail("page");
    return 0;
}

void MakeSeeds(const QString& Dir) {
    const QByteArray Eol(1, char(155));
    // The first byte also picks the extension: '0' (48) % 6 = 0 .LST.
    WriteSeed(Dir, "basic.lst",
              "0 REM \xC8\xC9 INVERSE" + Eol + "10 PRINT \"HI\x1B\x1C\"" + Eol + "20 GOTO 10" + Eol);
    // 'y' (121) % 6 = 1: Action!
    WriteSeed(Dir, "action.act", "y PROC main()" + Eol + "  PrintE(\"\x7D\")" + Eol + "RETURN" + Eol);
    // '^' (94) % 6 = 4: Kyan Pascal (.I), lines end with CR.
    WriteSeed(Dir, "pascal.i", "^program x;\rbegin\r  writeln('a{b}');\rend.\r");
    // 'W' (87) % 6 = 3: .PAS
    WriteSeed(Dir, "pascal.pas", "W var i: integer;\r");
    // '#' (35) % 6 = 5: ATMAS II with tabs.
    WriteSeed(Dir, "atmas.src", "#\tLDA\t#1\r\tSTA\t$D01A\r\x7F\t\xFF\tRTS\r");
}
