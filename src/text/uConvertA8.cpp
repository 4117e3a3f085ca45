#include "uConvertA8.h"

#include "Cp1252.h"

#include <QStringList>

#include <algorithm>

namespace {
// Output of one Windows-1252 character: up to two bytes; Count 0 drops it.
struct TOutput {
    quint8 Bytes[2];
    int Count;
};

TOutput Convert(quint8 C) {
    switch (C) {
    case 13:
        return {{155, 0}, 1};
    case 196:
        return {{'A', 'e'}, 2};
    case 214:
        return {{'O', 'e'}, 2};
    case 220:
        return {{'U', 'e'}, 2};
    case 223:
        return {{'s', 's'}, 2};
    case 228:
        return {{'a', 'e'}, 2};
    case 246:
        return {{'o', 'e'}, 2};
    case 252:
        return {{'u', 'e'}, 2};
    default:
        break;
    }
    // "{" (123) is dropped: the Atari shows a playing-card symbol there.
    if ((C >= 32 && C <= 122) || (C >= 124 && C <= 127)) return {{C, 0}, 1};
    return {{0, 0}, 0};
}
} // namespace

int TConvertA8::ToATASCII(quint8* Dest, int DestSize) const {
    if (!Dest || DestSize <= 0) return 0;
    const int N = std::clamp(TextLength, 0, int(Text.size()));
    int Out = 0;
    for (int I = 0; I < N; ++I) {
        const TOutput O = Convert(quint8(Text.at(I)));
        if (O.Count > DestSize - Out) break;
        for (int K = 0; K < O.Count; ++K) Dest[Out++] = O.Bytes[K];
    }
    return Out;
}

namespace {
QString FirstLineEnd(const QByteArray& File) {
    for (qsizetype I = 0; I < File.size(); ++I) {
        if (File[I] == '\n') return QStringLiteral("\n");
        if (File[I] == '\r')
            return I + 1 < File.size() && File[I + 1] == '\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
    }
    return QStringLiteral("\r\n");
}

QString Lines(const QString& Plain, const QString& LineEnd, bool LastLineEnded = true) {
    if (Plain.isEmpty()) return QString();
    QStringList List = Plain.split(QLatin1Char('\n'));
    const bool EndsInBreak = List.last().isEmpty();
    if (EndsInBreak) List.removeLast();
    QString Text = List.join(LineEnd);
    if (EndsInBreak || LastLineEnded) Text += LineEnd;
    return Text;
}
} // namespace

QString PCTextToEditorText(const QByteArray& File, TPCTextFormat* Format) {
    const TTextEncoding Encoding = DetectTextEncoding(File);
    if (Format)
        *Format = {Encoding, FirstLineEnd(File),
                   File.isEmpty() || File.endsWith('\n') || File.endsWith('\r')};
    QString Text = DecodeText(File, Encoding);
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return Text;
}

QByteArray EditorTextToPCText(const QString& Plain) {
    return UnicodeToCp1252(Lines(Plain, QStringLiteral("\r\n")).normalized(QString::NormalizationForm_C),
                           true);
}

QByteArray EditorTextToFile(const QString& Plain, const TPCTextFormat& Format) {
    return EncodeText(Lines(Plain, Format.LineEnd, Format.LastLineEnded), Format.Encoding);
}
