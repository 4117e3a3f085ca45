#include "IniFile.h"

#include "Cp1252.h"
#include "FileIO.h"

#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <algorithm>
#include <climits>

TIniFile::TIniFile(const QString& FileName) : FFileName(FileName) {
    if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return;
    // A file that cannot be read (no regular file, too large, no access) reads as
    // empty, as a missing one does: settings fall back to their defaults. It is
    // never written back, which would lose what it holds.
    try {
        SetText(ReadWholeFile(FileName, MaxFileSize));
    } catch (const EInOutError& E) {
        FReadError = E.Message();
    }
}

TIniFile TIniFile::FromData(const QByteArray& Data) {
    TIniFile Ini{QString()};
    Ini.SetText(Data);
    return Ini;
}

QString TIniFile::DecodeText(const QByteArray& Data) {
    QByteArray Bytes = Data.startsWith("\xEF\xBB\xBF") ? Data.mid(3) : Data;
    auto Decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString Text = Decoder(Bytes);
    if (!Decoder.hasError()) return Text;
    return Cp1252ToUnicode(Bytes);
}

void TIniFile::SetText(const QByteArray& Data) {
    FLines.clear();
    FSections.clear();
    const QString Text = DecodeText(Data);
    int Current = -1;
    for (QString Raw : Text.split(QLatin1Char('\n'))) {
        if (Raw.endsWith(QLatin1Char('\r'))) Raw.chop(1);
        TLine L;
        L.Raw = Raw;
        QString T = Raw.trimmed();
        if (T.startsWith(QLatin1Char('[')) && T.contains(QLatin1Char(']'))) {
            QString Name = T.mid(1, T.indexOf(QLatin1Char(']')) - 1).trimmed();
            FSections.emplace_back(Name, int(FLines.size()));
            Current = int(FSections.size()) - 1;
            L.Section = Current;
        } else {
            L.Section = Current;
            int Eq = Raw.indexOf(QLatin1Char('='));
            if (Eq > 0 && !T.startsWith(QLatin1Char(';'))) {
                L.Key = Raw.left(Eq).trimmed();
                L.Value = Raw.mid(Eq + 1);
            }
        }
        FLines.push_back(L);
    }
    // A trailing newline leaves one empty line behind: drop it so that a save
    // gives back the same bytes.
    if (!FLines.empty() && FLines.back().Raw.isEmpty() && FLines.back().Key.isEmpty()) FLines.pop_back();
    FDirty = false;
}

QByteArray TIniFile::Text() const {
    QString Out;
    for (const TLine& L : FLines) {
        Out += L.Raw;
        Out += QLatin1Char('\n');
    }
    return Out.toUtf8();
}

int TIniFile::FindSection(const QString& Section) const {
    for (int I = 0; I < int(FSections.size()); ++I)
        if (FSections[I].first.compare(Section, Qt::CaseInsensitive) == 0) return I;
    return -1;
}

int TIniFile::FindKeyLine(int SectionIndex, const QString& Ident) const {
    if (SectionIndex < 0) return -1;
    for (int I = 0; I < int(FLines.size()); ++I) {
        const TLine& L = FLines[I];
        if (L.Section == SectionIndex && !L.Key.isEmpty() && L.Key.compare(Ident, Qt::CaseInsensitive) == 0)
            return I;
    }
    return -1;
}

bool TIniFile::SectionExists(const QString& Section) const {
    return FindSection(Section) >= 0;
}

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
    return FindKeyLine(FindSection(Section), Ident) >= 0;
}

QStringList TIniFile::ReadSection(const QString& Section) const {
    QStringList Keys;
    int S = FindSection(Section);
    if (S < 0) return Keys;
    for (const TLine& L : FLines)
        if (L.Section == S && !L.Key.isEmpty()) Keys << L.Key;
    return Keys;
}

QStringList TIniFile::ReadSections() const {
    QStringList Names;
    for (const auto& S : FSections) Names << S.first;
    return Names;
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
    int I = FindKeyLine(FindSection(Section), Ident);
    if (I < 0) return Default;
    QString V = FLines[I].Value.trimmed();
    if (V.size() >= 2 && ((V.startsWith(QLatin1Char('"')) && V.endsWith(QLatin1Char('"'))) ||
                          (V.startsWith(QLatin1Char('\'')) && V.endsWith(QLatin1Char('\'')))))
        V = V.mid(1, V.size() - 2);
    return V;
}

bool TIniFile::StrToIntDef(const QString& Text, int& Value) {
    QString S = Text.trimmed();
    bool Negative = false;
    if (S.startsWith(QLatin1Char('-'))) {
        Negative = true;
        S.remove(0, 1);
    } else if (S.startsWith(QLatin1Char('+'))) {
        S.remove(0, 1);
    }
    int Base = 10;
    if (S.startsWith(QLatin1Char('$'))) {
        Base = 16;
        S.remove(0, 1);
    } else if (S.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        Base = 16;
        S.remove(0, 2);
    }
    // Digits alone: no second sign, blank or prefix after the first.
    const auto IsDigit = [Base](QChar C) {
        const char16_t U = C.unicode();
        return (U >= '0' && U <= '9') || (Base == 16 && ((U >= 'a' && U <= 'f') || (U >= 'A' && U <= 'F')));
    };
    if (S.isEmpty() || !std::all_of(S.begin(), S.end(), IsDigit)) return false;
    bool Ok = false;
    qint64 V = S.toLongLong(&Ok, Base);
    if (!Ok) return false;
    if (Negative) V = -V;
    // Decimal numbers are 32-bit signed; hex values may use all 32 bits, as colour
    // values written elsewhere do.
    const qint64 Max = Base == 16 ? qint64(0xFFFFFFFF) : qint64(INT_MAX);
    if (V < qint64(INT_MIN) || V > Max) return false;
    Value = int(quint32(V));
    return true;
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
    int V = 0;
    return StrToIntDef(ReadString(Section, Ident, QString()), V) ? V : Default;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    int S = FindSection(Section);
    if (S < 0) {
        if (!FLines.empty() && !FLines.back().Raw.trimmed().isEmpty()) FLines.push_back(TLine{});
        TLine H;
        H.Raw = QLatin1Char('[') + Section + QLatin1Char(']');
        FSections.emplace_back(Section, int(FLines.size()));
        S = int(FSections.size()) - 1;
        H.Section = S;
        FLines.push_back(H);
    }
    int I = FindKeyLine(S, Ident);
    if (I >= 0) {
        TLine& L = FLines[I];
        if (L.Value == Value) return;
        L.Value = Value;
        L.Raw = L.Key + QLatin1Char('=') + Value; // the file's spelling of the key stays
        FDirty = true;
        return;
    }
    // New key: after the last key line of the section, or right after its header.
    int Pos = FSections[S].second;
    for (int J = 0; J < int(FLines.size()); ++J)
        if (FLines[J].Section == S && !FLines[J].Key.isEmpty()) Pos = J;
    TLine L;
    L.Key = Ident;
    L.Value = Value;
    L.Raw = Ident + QLatin1Char('=') + Value;
    L.Section = S;
    FLines.insert(FLines.begin() + Pos + 1, L);
    for (auto& Sec : FSections)
        if (Sec.second > Pos) ++Sec.second;
    FDirty = true;
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
    WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::EraseSection(const QString& Section) {
    int S = FindSection(Section);
    if (S < 0) return;
    std::vector<TLine> Rest;
    for (const TLine& L : FLines)
        if (L.Section != S) Rest.push_back(L);
    QString Joined;
    for (const TLine& L : Rest) Joined += L.Raw + QLatin1Char('\n');
    SetText(Joined.toUtf8());
    FDirty = true;
}

void TIniFile::UpdateFile() {
    if (!FDirty && QFile::exists(FFileName)) return;
    if (!FReadError.isEmpty())
        throw EMorvanelError(QStringLiteral("In %1 kann nicht geschrieben werden").arg(FFileName));
    try {
        WriteWholeFile(FFileName, Text());
    } catch (const EInOutError&) {
        throw EMorvanelError(QStringLiteral("In %1 kann nicht geschrieben werden").arg(FFileName));
    }
    FDirty = false;
}
