#include "uRegisterFileExt.h"

#include "FileIO.h"
#include "Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

const QString MorvanelFileTypeName = QStringLiteral("TEVRA Morvanel file");
const QString MorvanelFileDescription = QStringLiteral("Morvanel A8-Viewer");
const QString MorvanelDesktopId = QStringLiteral("tevra-morvanel.desktop");
const QString MorvanelIconName = QStringLiteral("tevra-morvanel");

TMorvanelFileTypes::TMorvanelFileTypes() {
    FTypes = {QString(),
              QStringLiteral(".GR8"),
              QStringLiteral(".PIC"),
              QStringLiteral(".MIC"),
              QStringLiteral(".PHO"),
              QStringLiteral(".ALB"),
              QStringLiteral(".KOA"),
              QStringLiteral(".FNT"),
              QStringLiteral(".GR9"),
              QStringLiteral(".APC"),
              QStringLiteral(".AP2"),
              QStringLiteral(".256"),
              QStringLiteral(".3D")};
}

QString TMorvanelFileTypes::Extension(int Index) const {
    return Index >= 1 && Index <= Count ? FTypes[size_t(Index)] : QString();
}

TFileTypeFolders DefaultFileTypeFolders() {
    TFileTypeFolders F;
    F.DataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    F.ConfigHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return F;
}

QString MimePackagePath(const TFileTypeFolders& Folders) {
    return Folders.DataHome + QStringLiteral("/mime/packages/tevra-morvanel.xml");
}

QString DesktopEntryPath(const TFileTypeFolders& Folders) {
    return Folders.DataHome + QStringLiteral("/applications/") + MorvanelDesktopId;
}

QString IconFilePath(const TFileTypeFolders& Folders) {
    return Folders.DataHome + QStringLiteral("/icons/hicolor/scalable/apps/") + MorvanelIconName +
           QStringLiteral(".svg");
}

QString MimeAppsListPath(const TFileTypeFolders& Folders) {
    return Folders.ConfigHome + QStringLiteral("/mimeapps.list");
}

QString MimeTypeOfTypeName(const QString& TypeName) {
    QString Id;
    bool Dash = false;
    for (const QChar C : TypeName.toLower()) {
        if ((C >= QLatin1Char('a') && C <= QLatin1Char('z')) ||
            (C >= QLatin1Char('0') && C <= QLatin1Char('9'))) {
            if (Dash && !Id.isEmpty()) Id += QLatin1Char('-');
            Id += C;
            Dash = false;
        } else {
            Dash = true;
        }
    }
    return QStringLiteral("application/x-") + Id;
}

namespace {
const QByteArray DefaultSection = QByteArrayLiteral("[Default Applications]");
const QString MimeInfoNamespace = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

// ".GR8": a dot and letters, digits or a few harmless signs; nothing that would
// turn into a wider glob or leave the file.
bool IsValidExtension(const QString& Extension) {
    if (Extension.size() < 2 || Extension.at(0) != QLatin1Char('.')) return false;
    for (qsizetype I = 1; I < Extension.size(); ++I) {
        const QChar C = Extension.at(I);
        const bool Ok = (C >= QLatin1Char('a') && C <= QLatin1Char('z')) ||
                        (C >= QLatin1Char('A') && C <= QLatin1Char('Z')) ||
                        (C >= QLatin1Char('0') && C <= QLatin1Char('9')) || C == QLatin1Char('_') ||
                        C == QLatin1Char('-') || C == QLatin1Char('+');
        if (!Ok) return false;
    }
    return true;
}

bool HasControlChar(const QString& S) {
    for (const QChar C : S)
        if (C.unicode() < 0x20 || C.unicode() == 0x7F) return true;
    return false;
}

QString GlobOf(const QString& Extension) {
    return QLatin1Char('*') + Extension.toLower();
}

// The globs the package file already holds for Mime; none when it is missing or unreadable.
QStringList ReadGlobs(const QString& Path, const QString& Mime) {
    QStringList Globs;
    QFile F(Path);
    if (!F.open(QIODevice::ReadOnly)) return Globs;
    QXmlStreamReader Xml(&F);
    bool Inside = false;
    while (!Xml.atEnd()) {
        Xml.readNext();
        if (Xml.isStartElement() && Xml.name() == QLatin1String("mime-type"))
            Inside = Xml.attributes().value(QLatin1String("type")) == Mime;
        else if (Xml.isEndElement() && Xml.name() == QLatin1String("mime-type"))
            Inside = false;
        else if (Inside && Xml.isStartElement() && Xml.name() == QLatin1String("glob")) {
            const QString Pattern = Xml.attributes().value(QLatin1String("pattern")).toString();
            if (!Pattern.isEmpty() && !Globs.contains(Pattern)) Globs << Pattern;
        }
    }
    if (Xml.hasError()) Globs.clear(); // a damaged file of ours is written anew
    return Globs;
}

QByteArray MimePackage(const QString& Mime, const QString& Description, const QStringList& Globs) {
    QByteArray Data;
    QXmlStreamWriter Xml(&Data);
    Xml.setAutoFormatting(true);
    Xml.setAutoFormattingIndent(2);
    Xml.writeStartDocument();
    Xml.writeDefaultNamespace(MimeInfoNamespace);
    Xml.writeStartElement(MimeInfoNamespace, QStringLiteral("mime-info"));
    Xml.writeStartElement(MimeInfoNamespace, QStringLiteral("mime-type"));
    Xml.writeAttribute(QStringLiteral("type"), Mime);
    Xml.writeTextElement(MimeInfoNamespace, QStringLiteral("comment"), Description);
    Xml.writeEmptyElement(MimeInfoNamespace, QStringLiteral("icon"));
    Xml.writeAttribute(QStringLiteral("name"), MorvanelIconName);
    for (const QString& G : Globs) {
        Xml.writeEmptyElement(MimeInfoNamespace, QStringLiteral("glob"));
        Xml.writeAttribute(QStringLiteral("pattern"), G);
    }
    Xml.writeEndDocument();
    return Data;
}

// A string value of a desktop entry: backslashes and line breaks escaped.
QString EscapeDesktopValue(const QString& S) {
    QString R;
    for (const QChar C : S) {
        if (C == QLatin1Char('\\'))
            R += QStringLiteral("\\\\");
        else if (C == QLatin1Char('\n'))
            R += QStringLiteral("\\n");
        else if (C == QLatin1Char('\t'))
            R += QStringLiteral("\\t");
        else if (C == QLatin1Char('\r'))
            R += QStringLiteral("\\r");
        else
            R += C;
    }
    return R;
}

// The program as the first word of Exec: quoted, with the characters the quoting
// rule reserves escaped, literal percent signs doubled; then escaped as a string value.
QString ExecProgram(const QString& Path) {
    QString Quoted = QStringLiteral("\"");
    for (const QChar C : Path) {
        if (C == QLatin1Char('"') || C == QLatin1Char('`') || C == QLatin1Char('$') || C == QLatin1Char('\\'))
            Quoted += QLatin1Char('\\');
        if (C == QLatin1Char('%')) Quoted += QLatin1Char('%');
        Quoted += C;
    }
    Quoted += QLatin1Char('"');
    return EscapeDesktopValue(Quoted);
}

QByteArray DesktopEntry(const QString& Mime, const QString& Description, const QString& ProgramPath,
                        const QString& Parameter) {
    QString S = QStringLiteral("[Desktop Entry]\nType=Application\n");
    S += QStringLiteral("Name=") + EscapeDesktopValue(Description) + QLatin1Char('\n');
    S += QStringLiteral("Exec=") + ExecProgram(ProgramPath);
    if (!Parameter.isEmpty()) S += QLatin1Char(' ') + Parameter;
    S += QLatin1Char('\n');
    S += QStringLiteral("Icon=") + MorvanelIconName + QLatin1Char('\n');
    S += QStringLiteral("MimeType=") + Mime + QStringLiteral(";\n");
    // Only the association is wanted, no menu entry.
    S += QStringLiteral("NoDisplay=true\nTerminal=false\n");
    return S.toUtf8();
}

QByteArray DefaultLine(const QString& Mime) {
    return Mime.toUtf8() + '=' + MorvanelDesktopId.toUtf8() + ';';
}

// Lines without their '\n'; a final line break gives no extra empty line.
QList<QByteArray> SplitLines(const QByteArray& Data) {
    if (Data.isEmpty()) return {};
    QList<QByteArray> Lines = Data.split('\n');
    if (Data.endsWith('\n')) Lines.removeLast();
    return Lines;
}

QByteArray JoinLines(const QList<QByteArray>& Lines) {
    QByteArray Data;
    for (const QByteArray& L : Lines) Data += L + '\n';
    return Data;
}

bool IsSectionHeader(const QByteArray& Line) {
    return Line.trimmed().startsWith('[');
}

// Index of the section header line, -1 when absent; End: the line after the section.
int FindSection(const QList<QByteArray>& Lines, int& End) {
    for (int I = 0; I < Lines.size(); ++I) {
        if (Lines[I].trimmed() != DefaultSection) continue;
        End = I + 1;
        while (End < Lines.size() && !IsSectionHeader(Lines[End])) ++End;
        return I;
    }
    End = -1;
    return -1;
}

QByteArray KeyOf(const QByteArray& Line) {
    const int Eq = Line.indexOf('=');
    return Eq < 0 ? QByteArray() : Line.left(Eq).trimmed();
}

QByteArray ReadIfExists(const QString& Path) {
    return QFileInfo::exists(Path) ? ReadWholeFile(Path) : QByteArray();
}

// Writes Data unless the file already holds it; true when it wrote.
bool WriteIfChanged(const QString& Path, const QByteArray& Data) {
    if (QFileInfo::exists(Path) && ReadWholeFile(Path) == Data) return false;
    if (!QDir().mkpath(QFileInfo(Path).absolutePath())) RaiseInOutError(ioPathNotFound, Path);
    WriteWholeFile(Path, Data);
    return true;
}

bool AddDefaultApplication(const QString& Path, const QString& Mime) {
    const QByteArray Data = ReadIfExists(Path);
    QList<QByteArray> Lines = SplitLines(Data);
    const QByteArray Ours = DefaultLine(Mime), Key = Mime.toUtf8();
    int End = -1;
    const int Start = FindSection(Lines, End);
    if (Start < 0) {
        Lines << DefaultSection << Ours;
    } else {
        QList<int> Found;
        for (int I = Start + 1; I < End; ++I)
            if (KeyOf(Lines[I]) == Key) Found << I;
        if (Found.size() == 1 && Lines[Found[0]].trimmed() == Ours) return false;
        // An older entry for our own type is replaced.
        for (int K = int(Found.size()) - 1; K >= 0; --K) Lines.removeAt(Found[K]);
        End -= int(Found.size());
        int At = Start + 1;
        for (int I = Start + 1; I < End; ++I)
            if (!Lines[I].trimmed().isEmpty()) At = I + 1;
        Lines.insert(At, Ours);
    }
    return WriteIfChanged(Path, JoinLines(Lines));
}

bool RemoveDefaultApplication(const QString& Path, const QString& Mime) {
    if (!QFileInfo::exists(Path)) return false;
    const QByteArray Data = ReadWholeFile(Path);
    QList<QByteArray> Lines = SplitLines(Data);
    const QByteArray Ours = DefaultLine(Mime);
    int End = -1;
    const int Start = FindSection(Lines, End);
    if (Start < 0) return false;
    bool Removed = false;
    for (int I = End - 1; I > Start; --I)
        if (Lines[I].trimmed() == Ours) {
            Lines.removeAt(I);
            --End;
            Removed = true;
        }
    if (!Removed) return false;
    bool SectionEmpty = true;
    for (int I = Start + 1; I < End; ++I)
        if (!Lines[I].trimmed().isEmpty()) SectionEmpty = false;
    if (SectionEmpty) Lines.removeAt(Start);
    bool FileEmpty = true;
    for (const QByteArray& L : Lines)
        if (!L.trimmed().isEmpty()) FileEmpty = false;
    if (FileEmpty) {
        if (!QFile::remove(Path)) RaiseInOutError(ioAccessDenied, Path);
    } else {
        WriteWholeFile(Path, JoinLines(Lines));
    }
    return true;
}

bool RemoveIfExists(const QString& Path) {
    if (!QFileInfo::exists(Path)) return false;
    if (!QFile::remove(Path)) RaiseInOutError(ioAccessDenied, Path);
    return true;
}

// Runs an update tool on Folder (after Options) when it is installed; false when it failed.
bool RunUpdateTool(const QString& Tool, const QString& Folder, const QStringList& Options = {}) {
    const QString Exe = QStandardPaths::findExecutable(Tool);
    if (Exe.isEmpty() || !QFileInfo(Folder).isDir()) return true;
    QProcess P;
    P.start(Exe, Options + QStringList{Folder});
    if (!P.waitForFinished(60000)) {
        P.kill();
        P.waitForFinished();
        return false;
    }
    return P.exitStatus() == QProcess::NormalExit && P.exitCode() == 0;
}

bool UpdateDatabases(const TFileTypeFolders& Folders) {
    const bool Mime =
        RunUpdateTool(QStringLiteral("update-mime-database"), Folders.DataHome + QStringLiteral("/mime"));
    const bool Desktop = RunUpdateTool(QStringLiteral("update-desktop-database"),
                                       Folders.DataHome + QStringLiteral("/applications"));
    // A theme cache that the user already has would hide a new icon; none is made here.
    const QString Theme = Folders.DataHome + QStringLiteral("/icons/hicolor");
    const bool Icons = !QFileInfo::exists(Theme + QStringLiteral("/icon-theme.cache")) ||
                       RunUpdateTool(QStringLiteral("gtk-update-icon-cache"), Theme,
                                     {QStringLiteral("--quiet"), QStringLiteral("--force"),
                                      QStringLiteral("--ignore-theme-index")});
    return Mime && Desktop && Icons;
}

// A type name without a letter or digit gives no MIME type.
bool UsableTypeName(const QString& Mime) {
    return Mime.size() > QStringLiteral("application/x-").size();
}

bool UsableFolders(const TFileTypeFolders& Folders) {
    return QDir::isAbsolutePath(Folders.DataHome) && QDir::isAbsolutePath(Folders.ConfigHome);
}
} // namespace

bool RegisterFileType(const QString& Extension, const QString& TypeName, const QString& Description,
                      int /*IconIndex*/, const QString& Parameter, const QString& ProgramPath,
                      const TFileTypeFolders& Folders) {
    const QString Mime = MimeTypeOfTypeName(TypeName);
    if (!IsValidExtension(Extension) || !UsableTypeName(Mime) || !UsableFolders(Folders) ||
        !QDir::isAbsolutePath(ProgramPath) || HasControlChar(ProgramPath) || HasControlChar(Parameter))
        return false;
    try {
        const QString Package = MimePackagePath(Folders);
        QStringList Globs = ReadGlobs(Package, Mime);
        const QString Glob = GlobOf(Extension);
        if (!Globs.contains(Glob)) Globs << Glob;
        const QByteArray Icon = GetResource("RESPROGRAMICON");
        if (Icon.isEmpty()) return false;
        bool Changed = WriteIfChanged(IconFilePath(Folders), Icon);
        Changed |= WriteIfChanged(Package, MimePackage(Mime, Description, Globs));
        Changed |= WriteIfChanged(DesktopEntryPath(Folders),
                                  DesktopEntry(Mime, Description, ProgramPath, Parameter));
        Changed |= AddDefaultApplication(MimeAppsListPath(Folders), Mime);
        if (Changed && Folders.UpdateDatabases) return UpdateDatabases(Folders);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool UnregisterFileType(const QString& Extension, const QString& TypeName, const TFileTypeFolders& Folders) {
    const QString Mime = MimeTypeOfTypeName(TypeName);
    if (!IsValidExtension(Extension) || !UsableTypeName(Mime) || !UsableFolders(Folders)) return false;
    try {
        // The extension lives only in the type's package: removing the type removes it too.
        bool Changed = RemoveIfExists(MimePackagePath(Folders));
        Changed |= RemoveIfExists(DesktopEntryPath(Folders));
        Changed |= RemoveDefaultApplication(MimeAppsListPath(Folders), Mime);
        Changed |= RemoveIfExists(IconFilePath(Folders));
        if (Changed && Folders.UpdateDatabases) return UpdateDatabases(Folders);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
