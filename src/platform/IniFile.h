#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// INI files as the program has always read them: section and key names compare
// without regard to case, values are trimmed and lose one pair of surrounding
// quotes, the first of duplicate keys wins, and keys or spellings the program does
// not know survive a save. Files are read as UTF-8, or as Windows-1252 when they are
// not valid UTF-8; UpdateFile writes atomically.
class TIniFile {
public:
    // Settings and language files are some kilobytes; a larger file reads as empty.
    static constexpr qint64 MaxFileSize = qint64(4) * 1024 * 1024;

    explicit TIniFile(const QString& FileName);
    // An INI file held in memory, without a file name (UpdateFile cannot write it).
    static TIniFile FromData(const QByteArray& Data);
    const QString& FileName() const { return FFileName; }
    // Why an existing file could not be read (it then reads as empty and UpdateFile
    // refuses to replace it); empty when it was read or does not exist.
    const QString& ReadError() const { return FReadError; }

    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;
    QStringList ReadSection(const QString& Section) const; // key names in file order
    QStringList ReadSections() const;
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // Signed 32-bit decimal integers, or "$hex" and "0xhex" of up to 32 bits, each with an
    // optional sign; anything else gives Default.
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;

    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    void EraseSection(const QString& Section);
    // Writes the file when anything changed; throws EMorvanelError
    // ("In %s kann nicht geschrieben werden") when it cannot or when the file
    // exists but could not be read.
    void UpdateFile();

    // Parses text held in memory (tests, language templates).
    void SetText(const QByteArray& Data);
    QByteArray Text() const;

    static QString DecodeText(const QByteArray& Data);
    static bool StrToIntDef(const QString& S, int& Value);

private:
    struct TLine {
        QString Raw;   // the line as read (comments, blanks, section headers)
        QString Key;   // key name as spelled in the file, empty for other lines
        QString Value; // raw value text after '='
        int Section = -1;
    };
    int FindSection(const QString& Section) const;
    int FindKeyLine(int SectionIndex, const QString& Ident) const;

    QString FFileName;
    QString FReadError;
    std::vector<TLine> FLines;
    std::vector<std::pair<QString, int>> FSections; // name, line index of its header
    bool FDirty = false;
};
