#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252 both ways (Qt has no codec for it). Bytes 0x81, 0x8D, 0x8F, 0x90 and
// 0x9D have no character and map to U+0081 etc.; characters outside the code page
// become '?' when encoding.
QString Cp1252ToUnicode(const QByteArray& Bytes);
QByteArray UnicodeToCp1252(const QString& Text);
QChar Cp1252Char(quint8 Byte);
