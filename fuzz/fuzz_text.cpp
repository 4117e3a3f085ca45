// Fuzz target: an ATASCII text file from memory in all three dialects: detection,
// PC text, the Startexter rich text (document and RTF) and the page the text window
// draws.
#include "FuzzSupport.h"
#include "RichTextSink.h"
#include "uTAtariFont.h"
#include "uTAtariText.h"

#include <QTextDocument>
#include <memory>

namespace {
// Pages are drawn from the start of the text only, so one run stays fast.
constexpr int RenderedBytes = 512;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    EnsureGuiApplication();
    static const auto Text = std::make_unique<TAtariText>();
    static const TAtariFont Font;
    TAtariText& T = *Text;
    T.Clear();
    T.LoadFromData(QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));
    if (T.Length != int(std::min<size_t>(Size, TAtariText::BufferSize))) FuzzFail("length");
    const int Dialect = TAtariText::DetectDialect(Data, int(std::min<size_t>(Size, TAtariText::BufferSize)));
    if (Dialect < 0 || Dialect > 2) FuzzFail("dialect");
    for (int Mode = 0; Mode <= 2; ++Mode) (void)T.ToPCText(Mode);
    if (!T.ToPCText(3).isEmpty() || !T.ToPCText(-1).isEmpty()) FuzzFail("unknown mode gave text");
    QTextDocument Doc;
    TTextDocumentSink Sink(Doc);
    T.ToRichEdit(Sink, TAtariText::ttStartexter);
    (void)DocumentToRtf(Doc);
    // The text window's page: 40 characters a line, 80 for Startexter.
    QImage Page;
    const int Cpl = Dialect == TAtariText::ttStartexter ? 80 : 40;
    Font.RenderText(Page, 1, T.Buffer.data(), std::min(T.Length, RenderedBytes), 0, 155, 0, 1, Cpl, 0, 0, 0,
                    0xFFFFFF, 0x904F1F);
    if (Page.isNull() || Page.width() < Cpl * 8) FuzzFail("page");
    return 0;
}

void MakeSeeds(const QString& Dir) {
    const QByteArray Eol(1, char(155));
    WriteSeed(Dir, "plain.txt", "HELLO ATARI" + Eol + "SECOND LINE \x81\xC1\x7F" + Eol);
    // ATARI-Schreiber: 2 at the start and 4 at byte 3.
    WriteSeed(Dir, "aschreiber.txt",
              QByteArray("\x02\x00\x00\x04", 4) + "Gr\x7B\x7D" + "sse" + Eol + "\x05TEXT");
    // Startexter: style switches 197/193 with digits, lines of 80 bytes.
    QByteArray St = "Normal \xC5"
                    "1fett\xC1"
                    "1 \xC5"
                    "2kursiv\xC1"
                    "2 \xC5"
                    "0u\xC1"
                    "0 \xC5"
                    "3h\xC1"
                    "3";
    St += QByteArray(80 - St.size() % 80, ' ') + "zweite Zeile" + Eol;
    WriteSeed(Dir, "startexter.txt", St);
    QByteArray All;
    for (int C = 0; C < 256; ++C) All += char(C);
    WriteSeed(Dir, "allbytes.txt", All);
}
