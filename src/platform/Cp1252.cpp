#include "Cp1252.h"

namespace {
constexpr char16_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray Bom("\xEF\xBB\xBF");
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

QByteArray UnicodeToCp1252(const QString& Text, bool DropUnmapped) {
    QByteArray Out;
    Out.reserve(Text.size());
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const char16_t U = Text.at(I).unicode();
        if (U < 0x80 || (U >= 0xA0 && U <= 0xFF)) {
            Out.append(char(U));
            continue;
        }
        int Found = -1;
        for (int K = 0; K < 32; ++K)
            if (High[K] == U) {
                Found = 0x80 + K;
                break;
            }
        // A character beyond the BMP is one character in two halves.
        if (QChar::isHighSurrogate(U) && I + 1 < Text.size() && Text.at(I + 1).isLowSurrogate()) ++I;
        if (Found >= 0)
            Out.append(char(Found));
        else if (!DropUnmapped)
            Out.append('?');
    }
    return Out;
}

bool IsValidUtf8(const QByteArray& Bytes) {
    const auto* P = reinterpret_cast<const quint8*>(Bytes.constData());
    const qsizetype N = Bytes.size();
    qsizetype I = 0;
    while (I < N) {
        const quint8 B = P[I];
        if (B < 0x80) {
            ++I;
            continue;
        }
        int More;
        quint8 Lo = 0x80, Hi = 0xBF; // range of the second byte
        if (B >= 0xC2 && B <= 0xDF)
            More = 1;
        else if (B >= 0xE0 && B <= 0xEF) {
            More = 2;
            if (B == 0xE0) Lo = 0xA0; // overlong
            if (B == 0xED) Hi = 0x9F; // surrogates
        } else if (B >= 0xF0 && B <= 0xF4) {
            More = 3;
            if (B == 0xF0) Lo = 0x90; // overlong
            if (B == 0xF4) Hi = 0x8F; // above U+10FFFF
        } else
            return false; // continuation byte, C0/C1 overlong or F5-FF
        if (N - I - 1 < More) return false;
        if (P[I + 1] < Lo || P[I + 1] > Hi) return false;
        for (int K = 2; K <= More; ++K)
            if ((P[I + K] & 0xC0) != 0x80) return false;
        I += 1 + More;
    }
    return true;
}

TTextEncoding DetectTextEncoding(const QByteArray& Bytes) {
    if (Bytes.startsWith(Bom) && IsValidUtf8(Bytes.mid(Bom.size()))) return TTextEncoding::Utf8Bom;
    return IsValidUtf8(Bytes) ? TTextEncoding::Utf8 : TTextEncoding::Cp1252;
}

QString DecodeText(const QByteArray& Bytes, TTextEncoding Encoding) {
    switch (Encoding) {
    case TTextEncoding::Utf8Bom:
        return QString::fromUtf8(Bytes.startsWith(Bom) ? Bytes.mid(Bom.size()) : Bytes);
    case TTextEncoding::Utf8:
        return QString::fromUtf8(Bytes);
    case TTextEncoding::Cp1252:
        break;
    }
    return Cp1252ToUnicode(Bytes);
}

QByteArray EncodeText(const QString& Text, TTextEncoding Encoding) {
    switch (Encoding) {
    case TTextEncoding::Utf8Bom:
        return Bom + Text.toUtf8();
    case TTextEncoding::Utf8:
        return Text.toUtf8();
    case TTextEncoding::Cp1252:
        break;
    }
    return UnicodeToCp1252(Text);
}
