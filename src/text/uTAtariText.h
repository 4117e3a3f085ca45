#pragma once
// One Atari text file as raw ATASCII bytes, in one of three dialects: plain ATASCII,
// the word processor "ATARI-Schreiber" and the word processor "Startexter".
// Converts the bytes into PC text (Windows-1252 bytes) or, for Startexter, into rich
// text with the word processor's character styles. No widget code.
#include <QByteArray>
#include <QString>
#include <array>

class TRichTextSink;

class TAtariText {
public:
    static constexpr int BufferSize = 250000;
    // Dialects, also the Mode of the conversions.
    enum : int { ttATASCII = 0, ttASchreiber = 1, ttStartexter = 2 };

    std::array<quint8, BufferSize> Buffer{}; // the bytes as in the file (end of line 155)
    int Length = 0;                          // valid bytes at the start of Buffer
    QString FileName;                        // display name of the file loaded last
    int TextType = 0;                        // dialect found by DetectFormat, -1 after a failed one
    qint64 FileLength = 0;                   // size of the file loaded last, also beyond Buffer

    // Zeroes Buffer; Length, FileName and TextType stay.
    void Clear();
    // FileName := the display name of Path, then the first BufferSize bytes of the file
    // go into Buffer. Throws EInOutError; Buffer, Length and FileLength are untouched then.
    void LoadFromFile(const QString& Path);
    // The same on the file's bytes (the first BufferSize of them) and its size (-1: the
    // size of Data); FileName stays.
    void LoadFromData(const QByteArray& Data, qint64 FileSize = -1);
    // The file was longer than Buffer: only its start is held.
    bool WasCut() const { return FileLength > Length; }
    // Reads the file again (at most BufferSize bytes) and sets TextType; Buffer and
    // Length stay. Throws EInOutError, leaving TextType at -1.
    void DetectFormat(const QString& Path);
    // The dialect of the bytes themselves: 1 ATARI-Schreiber, 2 Startexter, else 0.
    static int DetectDialect(const quint8* Data, int Size);
    // Bytes 0 .. Length - 1 as Windows-1252 bytes (CR LF line ends) by the table of
    // the dialect Mode; an unknown Mode gives an empty result.
    QByteArray ToPCText(int Mode) const;
    // Writes the text with its styles into Sink at its insertion point. Only Mode 2
    // produces text; every mode resets the sink's style first.
    void ToRichEdit(TRichTextSink& Sink, int Mode) const;
    // Writes bytes 0 .. Length - 1, nothing else (atomic). Throws EInOutError.
    void SaveToFile(const QString& Path) const;
    // Baseline of text inserted from now on: Kind 0 raised, 1 lowered, anything else normal.
    static void SetRichEditOffset(TRichTextSink& Sink, quint8 Kind);
};
