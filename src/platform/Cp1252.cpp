#include "Cp1252.h"

namespace {
constexpr char16_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QChar Cp1252Char(quint8 Byte) {
    if (Byte >= 0x80 && Byte < 0xA0) return QChar(High[Byte - 0x80]);
    return QChar(char16_t(Byte));
}

QString Cp1252ToUnicode(const QByteArray& Bytes) {
    QString S;
    S.reserve(Bytes.size());
    for (char C : Bytes) S.append(Cp1252Char(quint8(C)));
    return S;
}

QByteArray UnicodeToCp1252(const QString& Text) {
    QByteArray Out;
    Out.reserve(Text.size());
    for (QChar Ch : Text) {
        char16_t U = Ch.unicode();
        if (U < 0x80 || (U >= 0xA0 && U <= 0xFF)) {
            Out.append(char(U));
            continue;
        }
        char Found = '?';
        for (int I = 0; I < 32; ++I)
            if (High[I] == U) {
                Found = char(0x80 + I);
                break;
            }
        Out.append(Found);
    }
    return Out;
}
