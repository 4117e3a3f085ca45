#include "uTAtariListing.h"

#include "Cp1252.h"
#include "RichTextSink.h"
#include "uGlobal.h"
#include "uTAtariFont.h"

#include <QFileInfo>
#include <algorithm>

namespace {

struct TListingKind {
    const char* Ext;
    int ListingType;
    const char* LanguageName;
    const char* KindText;
    int IsText;
    int EOLCode; // -1: unchanged
    int TABCode; // -1: unchanged
    int TabWidth;
};

constexpr TListingKind Kinds[] = {
    {".BAS", 0, "ATARI BASIC", "TOKENIZED", 0, -1, -1, -1},
    {".TUR", 1, "Turbo BASIC", "TOKENIZED", 0, -1, -1, -1},
    {".LST", 0, "ATARI BASIC, TURBO-BASIC, ...", "LISTed", 1, 155, -1, -1},
    {".ACT", 2, "Action!", "ATASCII", 1, 155, -1, -1},
    {".P", 3, "Kyan Pascal", "ATASCII", 1, 155, -1, -1},
    {".PAS", 3, "Kyan Pascal", "ATASCII", 1, 155, -1, -1},
    {".I", 3, "Kyan Pascal", "ATASCII", 1, 155, -1, -1},
    {".SRC", 4, "ATMAS II", "EOL=#13, TAB=#09", 1, 13, 9, 9},
};

bool IsInversePrintable(quint8 B) {
    return (B >= 160 && B <= 223) || (B >= 225 && B <= 250) || B == 252;
}

// Inverse codes that the rich text marks with the inverse style and names
// without their "INV " part.
bool IsInverseEscape(quint8 B) {
    return (B >= 128 && B <= 154) || (B >= 156 && B <= 159) || B >= 251;
}

QByteArray Braced(const QByteArray& S) {
    return '{' + S + '}';
}

} // namespace

int TAtariListing::ValidLength() const {
    return std::clamp(Length, 0, BufferSize);
}

void TAtariListing::Clear() {
    Buffer.fill(0);
}

void TAtariListing::LoadFromFile(const QString& Path) {
    FileName = DisplayName(Path);
    const qint64 Size = GetFileLength(Path);
    LoadFromData(ReadFileHead(Path, std::min<qint64>(Size, BufferSize)), Size);
}

void TAtariListing::LoadFromData(const QByteArray& Data, qint64 Size) {
    const int N = int(std::min<qsizetype>(Data.size(), BufferSize));
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), N, Buffer.begin());
    Length = N;
    FileLength = std::max<qint64>(Size, N);
}

void TAtariListing::SetListingType(const QString& Name) {
    const QString Ext = ExtractFileExtUpper(QFileInfo(Name).fileName());
    for (const TListingKind& K : Kinds) {
        if (Ext != QLatin1String(K.Ext)) continue;
        ListingType = K.ListingType;
        LanguageName = QString::fromLatin1(K.LanguageName);
        KindText = QString::fromLatin1(K.KindText);
        IsText = K.IsText;
        if (K.EOLCode >= 0) EOLCode = quint8(K.EOLCode);
        if (K.TABCode >= 0) TABCode = quint8(K.TABCode);
        if (K.TabWidth >= 0) TabWidth = K.TabWidth;
        return;
    }
}

QByteArray TAtariListing::ToText(quint8 Mode) const {
    static const TAtariFont Font; // the key combinations of the built-in character table
    const int N = ValidLength();
    const bool Atmas = ListingType == 4;
    const int Tab = std::max(TabWidth, 1);
    QByteArray Out;
    Out.reserve(N + N / 2);
    int Col = 0;
    for (int I = 0; I < N; ++I) {
        const quint8 B = Buffer[I];
        if (B == EOLCode) {
            Out += '\r';
            Col = 0;
        } else if (Atmas && B == TABCode) {
            const int Spaces = Tab - Col % Tab;
            Out.append(Spaces, ' ');
            Col += Spaces;
        } else if (Atmas && B == 255) {
            // a cursor gap on the Atari page, nothing on a PC
        } else if (IsPrintable(B)) {
            Out += char(B);
            ++Col;
        } else {
            if (Mode == 0)
                Out += IsInversePrintable(B) ? QByteArray(1, char(B - 128)) : Braced(QByteArray::number(B));
            else if (Mode == 1)
                Out += Braced(Font.CharTable[B].KeyCombination);
            ++Col;
        }
    }
    return Out;
}

void TAtariListing::ToRichEdit(TRichTextSink& RichEdit, int InvStyle) const {
    ShowHourglass();
    struct TNormalCursor {
        ~TNormalCursor() { ShowNormalCursor(); }
    } NormalCursor;
    TRichStyle Inv;
    if (InvStyle == 0) Inv.Underline = true;
    if (InvStyle == 1) Inv.Bold = true;
    if (InvStyle == 2) Inv.Italic = true;
    auto PlusInv = [&Inv](TRichStyle S) {
        S.Bold |= Inv.Bold;
        S.Italic |= Inv.Italic;
        S.Underline |= Inv.Underline;
        return S;
    };

    // Runs of one style go to the control in one piece.
    TRichStyle Style = RichEdit.Style();
    QString Run;
    auto Flush = [&] {
        if (Run.isEmpty()) return;
        RichEdit.SetStyle(Style);
        RichEdit.InsertText(Run);
        Run.clear();
    };
    auto Insert = [&](const TRichStyle& S, const QString& Text) {
        if (!(S == Style)) {
            Flush();
            Style = S;
        }
        Run += Text;
    };

    static const TAtariFont Font; // built once: the table never changes
    auto KeyText = [](quint8 B, bool WithoutInv) {
        QByteArray K = Font.CharTable[B].KeyCombination;
        if (WithoutInv) K.replace("INV ", "");
        return QString::fromLatin1(Braced(K));
    };
    const int N = ValidLength();
    const bool Atmas = ListingType == 4;
    const int Tab = std::max(TabWidth, 1);
    int Col = 0;
    for (int I = 0; I < N; ++I) {
        const quint8 B = Buffer[I];
        if (IsPrintable(B)) {
            Insert(TRichStyle{}, QString(Cp1252Char(B)));
            ++Col;
        } else if (B >= 160 && B <= 223) {
            Insert(PlusInv(Style), QString(Cp1252Char(quint8(B - 128))));
            ++Col;
        } else if (IsInverseEscape(B)) {
            Insert(PlusInv(Style), KeyText(B, true));
        } else if (B == EOLCode) {
            Flush();
            RichEdit.SetStyle(Style);
            RichEdit.NewParagraph();
            Col = 0;
        } else if (Atmas && B == TABCode) {
            const int Spaces = Tab - Col % Tab;
            Insert(TRichStyle{}, QString(Spaces, QLatin1Char(' ')));
            Col += Spaces;
        } else {
            Insert(Style, KeyText(B, false));
        }
    }
    Flush();
    RichEdit.SetStyle(TRichStyle{});
}
