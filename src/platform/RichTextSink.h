#pragma once
// Where the text conversions write rich text: a rich-edit control (QTextDocument)
// in the program, a recorder or the RTF writer in tests and saves.
#include <QByteArray>
#include <QString>
#include <QTextCursor>

class QFont;
class QTextCharFormat;
class QTextDocument;

struct TRichStyle {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool operator==(const TRichStyle&) const = default;
};

class TRichTextSink {
public:
    virtual ~TRichTextSink() = default;
    // Text goes in at the insertion point, which moves behind it.
    virtual void InsertText(const QString& Text) = 0;
    // The style of text inserted from now on.
    virtual TRichStyle Style() const = 0;
    virtual void SetStyle(const TRichStyle& Style) = 0;
    // Baseline offset of text inserted from now on, in twips: +60 raised, -60 lowered, 0 normal.
    virtual void SetOffset(int Twips) = 0;
    // Appends an empty line at the end: a new paragraph with the insertion point behind it.
    virtual void NewParagraph() = 0;
};

// Writes into a QTextDocument (the rich edit `TextField` of the text windows).
class TTextDocumentSink : public TRichTextSink {
public:
    explicit TTextDocumentSink(QTextDocument& Document, bool AtEnd = true);
    void InsertText(const QString& Text) override;
    TRichStyle Style() const override { return FStyle; }
    void SetStyle(const TRichStyle& Style) override { FStyle = Style; }
    void SetOffset(int Twips) override { FOffset = Twips; }
    void NewParagraph() override;
    QTextCursor& Cursor() { return FCursor; }

private:
    double BaselineOffsetPercent(int Twips, const QTextCharFormat& Format) const;

    QTextCursor FCursor;
    TRichStyle FStyle;
    int FOffset = 0;
};

// Baseline offset of text in Format, in twips (raised positive), as TTextDocumentSink
// set it: the text layout keeps it as a percentage of the font's height, the font
// being Format's over Default. 0 for text on the baseline.
int BaselineOffsetTwips(const QTextCharFormat& Format, const QFont& Default);
// The RTF control word that raises or lowers text in Format: \upN or \dnN in
// half-points, \super or \sub; empty for text on the baseline.
QByteArray RtfOffsetControl(const QTextCharFormat& Format, const QFont& Default);

// The whole document as an RTF file (Courier New unless the text says otherwise):
// bold, italic, underline, raised and lowered text, paragraphs. Characters outside
// ASCII are written as \uN? escapes, so any reader gets them right.
QByteArray DocumentToRtf(const QTextDocument& Document);
