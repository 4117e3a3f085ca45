#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252 both ways (Qt has no codec for it). Bytes 0x81, 0x8D, 0x8F, 0x90 and
// 0x9D have no character and map to U+0081 etc.; characters outside the code page
// become '?' when encoding, or are left out with DropUnmapped.
QString Cp1252ToUnicode(const QByteArray& Bytes);
QByteArray UnicodeToCp1252(const QString& Text, bool DropUnmapped = false);
QChar Cp1252Char(quint8 Byte);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no
// sequence cut short. Pure ASCII (and an empty array) is UTF-8.
bool IsValidUtf8(const QByteArray& Bytes);

// How a PC text file is written. A file that is valid UTF-8 (after an optional byte
// order mark) is UTF-8; anything else is taken as Windows-1252, which a Windows-1252
// text with umlauts practically never is.
enum class TTextEncoding { Cp1252, Utf8, Utf8Bom };
TTextEncoding DetectTextEncoding(const QByteArray& Bytes);
// The file's text in its encoding, without the byte order mark.
QString DecodeText(const QByteArray& Bytes, TTextEncoding Encoding);
// Text as a file in Encoding (with the byte order mark for Utf8Bom). UTF-8 keeps every
// character; Windows-1252 writes '?' for those it lacks.
QByteArray EncodeText(const QString& Text, TTextEncoding Encoding);
