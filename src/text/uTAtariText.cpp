#include "uTAtariText.h"

#include "FileIO.h"
#include "RichTextSink.h"
#include "uGlobal.h"

#include <algorithm>

namespace {
// Windows-1252 codes of the German letters.
constexpr char AUml = char(196), OUml = char(214), UUml = char(220);
constexpr char aUml = char(228), oUml = char(246), uUml = char(252), SharpS = char(223);

// Startexter breaks its lines every 80 bytes of the file.
constexpr int StartexterLine = 80;

QByteArray ReadText(const QString& Path, qint64* Size = nullptr) {
    // The length is asked first, as the file is opened; a missing file fails here.
    const qint64 Length = GetFileLength(Path);
    if (Size) *Size = Length;
    return ReadFileHead(Path, TAtariText::BufferSize);
}

struct THourglass {
    THourglass() { ShowHourglass(); }
    ~THourglass() { ShowNormalCursor(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};
} // namespace

void TAtariText::Clear() {
    Buffer.fill(0);
}

void TAtariText::LoadFromFile(const QString& Path) {
    FileName = DisplayName(Path);
    qint64 Size = 0;
    const QByteArray Data = ReadText(Path, &Size);
    LoadFromData(Data, Size);
}

void TAtariText::LoadFromData(const QByteArray& Data, qint64 FileSize) {
    const int N = int(std::min<qsizetype>(Data.size(), BufferSize));
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), N, Buffer.begin());
    Length = N;
    // Never less than what was read (the file may have grown since its size was asked).
    FileLength = std::max<qint64>(FileSize < 0 ? Data.size() : FileSize, N);
}

int TAtariText::DetectDialect(const quint8* Data, int Size) {
    if (!Data || Size < 0) Size = 0;
    auto At = [&](int I) { return I >= 0 && I < Size ? int(Data[I]) : -1; };
    if (At(0) == 2 && (At(3) == 4 || At(4) == 4)) return ttASchreiber;
    // Startexter style switches: 197 d starts a style, 193 d ends it.
    bool Starts[4] = {}, Ends[4] = {};
    for (int I = 0; I + 1 < Size; ++I) {
        const int D = Data[I + 1] - '0';
        if (D < 0 || D > 3) continue;
        if (Data[I] == 197) Starts[D] = true;
        if (Data[I] == 193) Ends[D] = true;
    }
    for (int D = 0; D < 4; ++D)
        if (Starts[D] && Ends[D]) return ttStartexter;
    return ttATASCII;
}

void TAtariText::DetectFormat(const QString& Path) {
    TextType = -1;
    const QByteArray Data = ReadText(Path);
    TextType = DetectDialect(reinterpret_cast<const quint8*>(Data.constData()), int(Data.size()));
}

QByteArray TAtariText::ToPCText(int Mode) const {
    QByteArray Out;
    if (Mode < 0 || Mode > 2) return Out;
    const int N = std::clamp(Length, 0, BufferSize);
    Out.reserve(N + N / 16 + 16);
    int I = 0;
    while (I < N) {
        const quint8 B = Buffer[I];
        int Step = 1;
        if (Mode == ttATASCII) {
            if (B == 155)
                Out += "\r\n";
            else if ((B >= 32 && B <= 122) || (B >= 124 && B <= 127))
                Out += char(B);
            else if ((B >= 128 && B <= 137) || B == 142 || (B >= 145 && B <= 154) || (B >= 156 && B <= 250) ||
                     B >= 252)
                Out += char(B - 128);
        } else if (Mode == ttASchreiber) {
            switch (B) {
            case 10:
            case 138:
                Out += uUml;
                break;
            case 11:
            case 139:
                Out += aUml;
                break;
            case 12:
            case 140:
                Out += OUml;
                break;
            case 13:
            case 141:
                Out += SharpS;
                break;
            case 15:
            case 143:
                Out += oUml;
                break;
            case 16:
            case 144:
                Out += UUml;
                break;
            case 123:
            case 251:
                Out += AUml;
                break;
            case 20:
                Step = 2; // the following byte belongs to the code
                break;
            case 155:
                Out += "\r\n";
                break;
            default:
                if ((B >= 32 && B <= 122) || (B >= 124 && B <= 127))
                    Out += char(B);
                else if (B >= 128)
                    Out += char(B - 128); // 128-137, 142, 145-154, 156-250, 252-255
                break;
            }
        } else {
            switch (B) {
            case 91:
                Out += AUml;
                break;
            case 92:
                Out += OUml;
                break;
            case 93:
                Out += UUml;
                break;
            case 123:
                Out += aUml;
                break;
            case 124:
                Out += oUml;
                break;
            case 125:
                Out += uUml;
                break;
            case 126:
                Out += SharpS;
                break;
            case 127:
                break;
            case 193:
            case 197:
                Step = 2; // style switch and its code
                break;
            case 218:
                Out += ' ';
                Step = 2;
                break;
            default:
                if (B < 32)
                    Out += ' ';
                else if (B <= 225)
                    Out += char(B);
                break; // 226-255 give nothing
            }
        }
        I += Step;
        if (Mode == ttStartexter && I % StartexterLine == 0) Out += "\r\n";
    }
    if (Mode == ttASchreiber) {
        // The first line is the word processor's format line.
        const qsizetype Lf = Out.indexOf('\n');
        if (Lf >= 0) Out.remove(0, Lf + 1);
    }
    return Out;
}

void TAtariText::SetRichEditOffset(TRichTextSink& Sink, quint8 Kind) {
    Sink.SetOffset(Kind == 0 ? 60 : Kind == 1 ? -60 : 0);
}

void TAtariText::ToRichEdit(TRichTextSink& Sink, int Mode) const {
    THourglass Hourglass;
    Sink.SetStyle(TRichStyle());
    if (Mode != ttStartexter) return;
    const int N = std::clamp(Length, 0, BufferSize);
    // Characters of one style go in as one string.
    QString Pending;
    auto Flush = [&] {
        if (Pending.isEmpty()) return;
        Sink.InsertText(Pending);
        Pending.clear();
    };
    auto Style = [&](quint8 Switch, int D) {
        Flush();
        const bool On = Switch == 197;
        TRichStyle S = Sink.Style();
        switch (D) {
        case '0':
            S.Underline = On;
            Sink.SetStyle(S);
            break;
        case '1':
            SetRichEditOffset(Sink, On ? 0 : 2);
            break;
        case '2':
            SetRichEditOffset(Sink, On ? 1 : 2);
            break;
        case '5':
            S.Bold = On;
            Sink.SetStyle(S);
            break;
        case '8':
            S.Italic = On;
            Sink.SetStyle(S);
            break;
        default:
            break;
        }
    };
    int I = 0;
    while (I < N) {
        const quint8 B = Buffer[I];
        int Step = 1;
        switch (B) {
        case 91:
            Pending += QChar(0xC4);
            break;
        case 92:
            Pending += QChar(0xD6);
            break;
        case 93:
            Pending += QChar(0xDC);
            break;
        case 123:
            Pending += QChar(0xE4);
            break;
        case 124:
            Pending += QChar(0xF6);
            break;
        case 125:
            Pending += QChar(0xFC);
            break;
        case 126:
            Pending += QChar(0xDF);
            break;
        case 127:
        case 218:
            break;
        case 193:
        case 197:
            // A switch in the last byte has no code: nothing to apply.
            Style(B, I + 1 < N ? int(Buffer[I + 1]) : -1);
            Step = 2;
            break;
        default:
            if (B < 32)
                Pending += QLatin1Char(' ');
            else if (B < 128)
                Pending += QLatin1Char(char(B));
            else if (B <= 225)
                Pending += QChar(B - 128);
            break; // 226-255 give nothing
        }
        I += Step;
        if (I % StartexterLine == 0) {
            Flush();
            Sink.NewParagraph();
        }
    }
    Flush();
}

void TAtariText::SaveToFile(const QString& Path) const {
    const int N = std::clamp(Length, 0, BufferSize);
    WriteWholeFile(Path, QByteArray(reinterpret_cast<const char*>(Buffer.data()), N));
}
