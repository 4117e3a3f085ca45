#pragma once
// One Atari program listing held as raw bytes, typed by the extension of its file
// name, and turned into PC text or rich text in which control and inverse
// characters stay visible. No widget code.
#include <QByteArray>
#include <QString>
#include <array>

class TRichTextSink;

class TAtariListing {
public:
    static constexpr int BufferSize = 65536;

    std::array<quint8, BufferSize> Buffer{}; // the listing bytes exactly as in the file
    int ListingType = 0;                     // 0-4: BASIC, Turbo BASIC, Action!, Kyan Pascal, ATMAS II
    QString LanguageName;
    int IsText = 0; // 0 tokenized program, 1 listing as text
    QString KindText;
    int Length = 0;   // valid bytes at the start of Buffer
    QString FileName; // display name of the file last loaded (report title, proposed save name)
    quint8 EOLCode = 0;
    quint8 TABCode = 0; // ATMAS II only
    int TabWidth = 0;   // ATMAS II only
    // Size of the file last loaded; larger than Length when the file did not fit.
    qint64 FileLength = 0;

    // Zeroes Buffer; the other fields stay.
    void Clear();
    // Reads the file at its real path: at most BufferSize bytes from its start.
    // FileName becomes the path's display name before anything is read; on a read
    // error (EInOutError) Buffer, Length and FileLength keep their old contents.
    void LoadFromFile(const QString& Path);
    // The same on the file's bytes (the first BufferSize of them) and its size;
    // FileName stays.
    void LoadFromData(const QByteArray& Data, qint64 FileSize);
    bool WasCut() const { return FileLength > Length; }
    // Sets the type fields from the extension of the name (without regard to case);
    // an unknown extension changes nothing.
    void SetListingType(const QString& FileName);

    // Windows-1252 bytes, lines ended by CR. Mode 0: inverse characters in their
    // normal form, other codes as {decimal}; Mode 1: both as {key combination}.
    QByteArray ToText(quint8 Mode) const;
    // Writes into RichEdit at its insertion point; inverse characters are shown
    // underlined (InvStyle 0), bold (1) or italic (2), with no mark for other values.
    void ToRichEdit(TRichTextSink& RichEdit, int InvStyle) const;

    // Characters a PC shows the same way as the Atari.
    static bool IsPrintable(quint8 B) { return (B >= 32 && B <= 95) || (B >= 97 && B <= 122) || B == 124; }

private:
    int ValidLength() const;
};
