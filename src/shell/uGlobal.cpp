#include "uGlobal.h"

#include "DialogBody.h"
#include "FramePlacement.h"
#include "IniFile.h"
#include "JPEGImage.h"
#include "Resources.h"
#include "uMainLink.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <memory>
#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

QString SettingsFolder;
QString ProgramFolder;
QString LanguageFolder;
QString ManualsFolder;

const QString VersionText = QStringLiteral("Version " MORVANEL_VERSION " / 06.12.2026");

QString LngFile = QStringLiteral("german.lng");
quint8 phoformat = 0;
quint8 pic2x2mode = 0;
QString openpath;
quint32 col0, col1, col2, col3;
quint32 fontforecolor, fontbackcolor, gr8forecolor, gr8backcolor;
quint32 listingforecolor, listingbackcolor, listingprintforecolor, listingprintbackcolor;
quint32 textforecolor, textbackcolor, textPrintforecolor, textPrintbackcolor;
quint32 CurrentColors[4];
int TextMode = -1;
int BeepCount = 0;
int HintHidePause = 2500;

namespace {
TMessageBoxHook MessageBoxHook;
TQuestionHook QuestionHook;
int FontId = -1;
std::unique_ptr<QTemporaryDir> TempDir;

QString WithSlash(const QString& S) {
    return S.endsWith(QLatin1Char('/')) ? S : S + QLatin1Char('/');
}
} // namespace

// ---------------------------------------------------------------- folders

QString GetSpecialFolder(int FolderId) {
    if (FolderId != 28) return QString();
    QString Path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    while (Path.size() > 1 && Path.endsWith(QLatin1Char('/'))) Path.chop(1);
    return Path;
}

void SetApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Morvanel"));
}

void InitFolders() {
    QString Base = GetSpecialFolder(28);
    // Never fall back to the file-system root: use the home folder instead.
    if (Base.isEmpty() || Base == QLatin1String("/")) {
        QString Home = QDir::homePath();
        Base = (Home.isEmpty() || Home == QLatin1String("/") ? QDir::tempPath() : Home) +
               QStringLiteral("/.local/share");
    }
    SettingsFolder = WithSlash(Base) + QStringLiteral("TEVRA/Morvanel/");
    if (!QDir().mkpath(SettingsFolder))
        ShowErrorMsg(QStringLiteral("Das Verzeichnis %1 kann nicht erstellt werden").arg(SettingsFolder));
    ProgramFolder = WithSlash(QCoreApplication::applicationDirPath());
    LanguageFolder = ProgramFolder + QStringLiteral("langscripts/");
    ManualsFolder = ProgramFolder + QStringLiteral("manuals/");
    if (openpath.isEmpty()) openpath = ProgramFolder;
}

QString TempFolder() {
    if (!TempDir)
        TempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/morvanel-XXXXXX"));
    return WithSlash(TempDir->path());
}

// ---------------------------------------------------------------- settings

QString SettingsFileName() {
    return SettingsFolder + QStringLiteral("Morvanel.INI");
}

void SetSettingsDefaults() {
    LngFile = QStringLiteral("german.lng");
    openpath = ProgramFolder;
    SetStandardValues();
}

void SetStandardValues() {
    phoformat = 0;
    col0 = 0x000000;
    col1 = 0x5FB7CF;
    col2 = 0x70D890;
    col3 = 0x904F1F;
    fontforecolor = 0xFFFFFF;
    fontbackcolor = 0x904F1F;
    gr8forecolor = 0xFFFFFF;
    gr8backcolor = 0x000000;
    listingforecolor = 0xFFFFFF;
    listingbackcolor = 0x904F1F;
    listingprintforecolor = 0x000000;
    listingprintbackcolor = 0xFFFFFF;
    textforecolor = 0xFFFFFF;
    textbackcolor = 0x904F1F;
    textPrintforecolor = 0x000000;
    textPrintbackcolor = 0xFFFFFF;
    pic2x2mode = 0;
}

QRect FitGeometryToArea(int Left, int Top, int Width, int Height, const QRect& Area) {
    // A window too small to use is as bad as one larger than the screen.
    constexpr qint64 MinWidth = 320, MinHeight = 200;
    const auto Fit = [](qint64 Value, qint64 Low, qint64 High) {
        return int(std::clamp(Value, Low, std::max(Low, High)));
    };
    const qint64 AreaW = std::max(Area.width(), 1), AreaH = std::max(Area.height(), 1);
    const int W = Fit(Width, std::min(MinWidth, AreaW), AreaW);
    const int H = Fit(Height, std::min(MinHeight, AreaH), AreaH);
    const int X = Fit(Left, Area.left(), Area.left() + AreaW - W);
    const int Y = Fit(Top, Area.top(), Area.top() + AreaH - H);
    return QRect(X, Y, W, H);
}

QRect RestoreArea(int Left, int Top) {
    // The screen the stored corner lies on, else the primary one.
    QScreen* Screen = QGuiApplication::screenAt(QPoint(Left, Top));
    if (!Screen) Screen = QGuiApplication::primaryScreen();
    return Screen ? Screen->availableGeometry() : QRect(0, 0, 640, 480);
}

namespace {
// A settings file that exists but could not be read stays as it is: the program
// runs on the defaults and says why, once for each reason.
bool SettingsUnreadable(const TIniFile& Ini) {
    if (Ini.ReadError().isEmpty()) return false;
    static QString Told;
    if (Ini.ReadError() != Told) {
        Told = Ini.ReadError();
        ShowWarningMsg(GetMsg(QStringLiteral("mSettingsUnread")) + QLatin1Char('\n') + Ini.ReadError());
    }
    return true;
}
} // namespace

void LoadSettings() {
    TIniFile Ini(SettingsFileName());
    const QString S = QStringLiteral("Setup"), D = QStringLiteral("default");
    LngFile = Ini.ReadString(S, QStringLiteral("LngFile"), QStringLiteral("german.lng"));
    const int Left = Ini.ReadInteger(S, QStringLiteral("left"), 10);
    const int Top = Ini.ReadInteger(S, QStringLiteral("top"), 10);
    const int Width = Ini.ReadInteger(S, QStringLiteral("width"), 625);
    const int Height = Ini.ReadInteger(S, QStringLiteral("height"), 475);
    if (MainWindow()) {
        // The stored corner is the frame's and the size the client's: the whole frame,
        // title bar included, is fitted into the area once its borders are known.
        const QRect Area = RestoreArea(Left, Top);
        const QRect R = FitGeometryToArea(Left, Top, Width, Height, Area);
        PlaceFrameInside(MainWindow()->Form(), R.topLeft(), R.size(), Area);
    }
    auto Col = [&](const char* Key, quint32 Def) {
        return quint32(Ini.ReadInteger(D, QLatin1String(Key), int(Def)));
    };
    phoformat = quint8(Ini.ReadInteger(D, QStringLiteral("phoformat"), 0));
    col0 = Col("col0", 0x000000);
    col1 = Col("col1", 0x5FB7CF);
    col2 = Col("col2", 0x70D890);
    col3 = Col("col3", 0x904F1F);
    fontforecolor = Col("fontforecolor", 0xFFFFFF);
    fontbackcolor = Col("fontbackcolor", 0x904F1F);
    gr8forecolor = Col("gr8forecolor", 0xFFFFFF);
    gr8backcolor = Col("gr8backcolor", 0x000000);
    listingforecolor = Col("listingforecolor", 0xFFFFFF);
    listingbackcolor = Col("listingbackcolor", 0x904F1F);
    listingprintforecolor = Col("listingprintforecolor", 0x000000);
    listingprintbackcolor = Col("listingprintbackcolor", 0xFFFFFF);
    textforecolor = Col("textforecolor", 0xFFFFFF);
    textbackcolor = Col("textbackcolor", 0x904F1F);
    textPrintforecolor = Col("textPrintforecolor", 0x000000);
    textPrintbackcolor = Col("textPrintbackcolor", 0xFFFFFF);
    pic2x2mode = quint8(Ini.ReadInteger(D, QStringLiteral("pic2x2mode"), 0));
    openpath = Ini.ReadString(D, QStringLiteral("openpath"), ProgramFolder);
    CurrentColors[0] = col0;
    CurrentColors[1] = col1;
    CurrentColors[2] = col2;
    CurrentColors[3] = col3;
    SettingsUnreadable(Ini);
}

void SaveSettings() {
    TIniFile Ini(SettingsFileName());
    if (SettingsUnreadable(Ini)) return;
    const QString S = QStringLiteral("Setup"), D = QStringLiteral("default");
    Ini.WriteString(S, QStringLiteral("LngFile"), LngFile);
    int Left = 10, Top = 10, Width = 625, Height = 475;
    if (MainWindow()) {
        const QRect R = MainWindow()->NormalPlacement();
        Left = R.x();
        Top = R.y();
        Width = R.width();
        Height = R.height();
    }
    Ini.WriteInteger(S, QStringLiteral("left"), Left);
    Ini.WriteInteger(S, QStringLiteral("top"), Top);
    Ini.WriteInteger(S, QStringLiteral("width"), Width);
    Ini.WriteInteger(S, QStringLiteral("height"), Height);
    auto Col = [&](const char* Key, quint32 V) { Ini.WriteInteger(D, QLatin1String(Key), int(V)); };
    Col("phoformat", phoformat);
    Col("col0", col0);
    Col("col1", col1);
    Col("col2", col2);
    Col("col3", col3);
    Col("fontbackcolor", fontbackcolor);
    Col("fontforecolor", fontforecolor);
    Col("gr8forecolor", gr8forecolor);
    Col("gr8backcolor", gr8backcolor);
    Col("listingbackcolor", listingbackcolor);
    Col("listingforecolor", listingforecolor);
    Col("listingprintbackcolor", listingprintbackcolor);
    Col("listingprintforecolor", listingprintforecolor);
    Col("textbackcolor", textbackcolor);
    Col("textforecolor", textforecolor);
    Col("textprintbackcolor", textPrintbackcolor);
    Col("textprintforecolor", textPrintforecolor);
    Col("pic2x2mode", pic2x2mode);
    Ini.WriteString(D, QStringLiteral("openpath"), openpath);
    Ini.UpdateFile();
}

// ---------------------------------------------------------------- messages

namespace {
// What tells that a file changed: its size, its times and, where there is one, its
// inode (an editor or a save that replaces the file gives a new one).
struct TFileStamp {
    bool IsFile = false;
    qint64 Size = -1;
    qint64 Modified = 0, Changed = 0; // nanoseconds on Linux, else milliseconds
    quint64 Inode = 0;
    bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const QString& Path) {
    TFileStamp S;
#ifdef Q_OS_LINUX
    // One stat call: QFileInfo's times cost more than the lookup they guard.
    struct stat St;
    const QByteArray Name = QFile::encodeName(Path);
    if (Name.isEmpty() || ::stat(Name.constData(), &St) != 0 || !S_ISREG(St.st_mode)) return S;
    S.IsFile = true;
    S.Size = St.st_size;
    S.Modified = qint64(St.st_mtim.tv_sec) * 1000000000 + St.st_mtim.tv_nsec;
    S.Changed = qint64(St.st_ctim.tv_sec) * 1000000000 + St.st_ctim.tv_nsec;
    S.Inode = quint64(St.st_ino);
#else
    const QFileInfo Info(Path);
    if (!Info.isFile()) return S;
    S.IsFile = true;
    S.Size = Info.size();
    S.Modified = Info.lastModified().toMSecsSinceEpoch();
    S.Changed = Info.metadataChangeTime().toMSecsSinceEpoch();
#endif
    return S;
}

// A language file parsed once and kept while its stamp stays the same.
struct TLanguageFile {
    TFileStamp Stamp;
    std::shared_ptr<const TIniFile> Ini;
    QHash<QString, QString> Messages; // section GeneralMsg, keys case-folded
};
QHash<QString, TLanguageFile> LanguageFiles; // by path
// Missing language files already reported: each is reported once.
QSet<QString> MissingLanguageFiles;
// Where LanguageFolder + LngFile was last found under another spelling.
QString FoundFolder, FoundName, FoundPath;

// The parsed file at Path as Stamp describes it now; nullptr when it is no file.
const TLanguageFile* LanguageFileEntry(const QString& Path, const TFileStamp& Stamp) {
    if (!Stamp.IsFile) {
        LanguageFiles.remove(Path);
        return nullptr;
    }
    auto It = LanguageFiles.find(Path);
    if (It != LanguageFiles.end() && It->Stamp == Stamp) return &*It;
    // Only a few language files are ever read; tests may read many.
    if (It == LanguageFiles.end() && LanguageFiles.size() >= 8) LanguageFiles.clear();
    TLanguageFile Entry;
    Entry.Stamp = Stamp;
    auto Ini = std::make_shared<TIniFile>(Path);
    const QString Section = QStringLiteral("GeneralMsg");
    for (const QString& Key : Ini->ReadSection(Section)) {
        const QString Folded = Key.toCaseFolded();
        if (!Entry.Messages.contains(Folded)) // the first of duplicate keys wins
            Entry.Messages.insert(Folded, Ini->ReadString(Section, Key, QString()));
    }
    Entry.Ini = std::move(Ini);
    return &*LanguageFiles.insert(Path, std::move(Entry));
}

void ReportMissingLanguageFile(const QString& Path) {
    if (MissingLanguageFiles.contains(Path)) return;
    MissingLanguageFiles.insert(Path);
    ShowWarningMsg(Path + QStringLiteral(" not found!"));
}

// The current language file and its stamp; when it is missing, it is reported once
// and LngFile becomes "german.lng". Empty when that is missing too.
QString UsableLanguageFile(TFileStamp& Stamp) {
    for (int Attempt = 0; Attempt < 2; ++Attempt) {
        QString Path = WithSlash(LanguageFolder) + LngFile;
        Stamp = StampOf(Path);
        if (!Stamp.IsFile) {
            Path = CurrentLanguageFile();
            Stamp = StampOf(Path);
        }
        if (Stamp.IsFile) {
            if (!MissingLanguageFiles.isEmpty()) MissingLanguageFiles.remove(Path);
            return Path;
        }
        ReportMissingLanguageFile(Path);
        if (UpperAscii(LngFile) == QLatin1String("GERMAN.LNG")) break;
        LngFile = QStringLiteral("german.lng");
    }
    return QString();
}
} // namespace

QString CurrentLanguageFile() {
    const QString Exact = WithSlash(LanguageFolder) + LngFile;
    if (!LngFile.isEmpty() && QFileInfo::exists(Exact)) return Exact;
    // Another spelling found before is used while it is there (saves listing the folder).
    if (!LngFile.isEmpty() && LanguageFolder == FoundFolder && LngFile == FoundName &&
        QFileInfo::exists(FoundPath))
        return FoundPath;
    const QString Path = FindFileCaseInsensitive(LanguageFolder, LngFile);
    FoundFolder = LanguageFolder;
    FoundName = LngFile;
    FoundPath = Path;
    return Path;
}

bool CheckLanguageFile() {
    TFileStamp Stamp;
    return !UsableLanguageFile(Stamp).isEmpty();
}

std::shared_ptr<const TIniFile> LanguageFileContents(const QString& Path) {
    if (const TLanguageFile* Entry = LanguageFileEntry(Path, StampOf(Path))) return Entry->Ini;
    static const auto Empty = std::make_shared<const TIniFile>(QString());
    return Empty;
}

QString GetMsg(const QString& Key) {
    TFileStamp Stamp;
    const QString Path = UsableLanguageFile(Stamp);
    const TLanguageFile* Entry = Path.isEmpty() ? nullptr : LanguageFileEntry(Path, Stamp);
    if (!Entry) return QString();
    return Entry->Messages.value(Key.toCaseFolded(), QStringLiteral("Translation missing!"));
}

void SetMessageBoxHook(TMessageBoxHook Hook) {
    MessageBoxHook = std::move(Hook);
}

namespace {
// The window a message box or a question belongs to: the dialog that is up, else
// the main window; a minimised main window would hide its boxes along with it.
// Made ready first: a splash screen still up would stand above the box (start-up
// warnings), and a window still being placed is waited for, so that the box is
// centred on where it stands, not where it was asked to go.
QWidget* ReadyBoxOwner() {
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->windowType() == Qt::SplashScreen && W->isVisible()) W->hide();
    const auto Owner = [] {
        if (QWidget* Modal = QApplication::activeModalWidget()) return Modal;
        QWidget* Main = MainWindow() ? MainWindow()->Form() : nullptr;
        if (Main && Main->isVisible() && !Main->isMinimized()) return Main;
        return QApplication::activeWindow();
    };
    AwaitFramePlacement(Owner());
    return Owner();
}

// A message box centred on the window it belongs to, like the other dialogs. Its
// size is known once it is about to show.
class TMessageBox : public QMessageBox {
public:
    TMessageBox(Icon Kind, const QString& Caption, const QString& Text, StandardButtons Buttons)
        : QMessageBox(Kind, Caption, Text, Buttons, ReadyBoxOwner()) {}

protected:
    void showEvent(QShowEvent* E) override {
        QMessageBox::showEvent(E);
        CentreOnParent(this);
    }
};
} // namespace

static void ShowBox(TMsgKind Kind, const QString& Caption, const QString& Text) {
    if (MessageBoxHook) {
        MessageBoxHook(Kind, Caption, Text);
        return;
    }
    static const QMessageBox::Icon Icons[] = {QMessageBox::Information, QMessageBox::Warning,
                                              QMessageBox::Critical, QMessageBox::NoIcon};
    TMessageBox Box(Icons[int(Kind)], Caption, Text, QMessageBox::Ok);
    Box.exec();
}

void ShowInfoMsg(const QString& Text) {
    ShowBox(TMsgKind::Info, QStringLiteral("Informationen"), Text);
}
void ShowWarningMsg(const QString& Text) {
    ShowBox(TMsgKind::Warning, QStringLiteral("Warnung"), Text);
}
void ShowErrorMsg(const QString& Text) {
    ShowBox(TMsgKind::Error, QStringLiteral("Fehler"), Text);
}
void ShowPlainMsg(const QString& Text) {
    QString Title = QCoreApplication::applicationName();
    ShowBox(TMsgKind::Plain, Title.isEmpty() ? QStringLiteral("Morvanel") : Title, Text);
}

void SetQuestionHook(TQuestionHook Hook) {
    QuestionHook = std::move(Hook);
}

bool AskYesNo(const QString& Caption, const QString& Text) {
    if (QuestionHook) return QuestionHook(Caption, Text);
    TMessageBox Box(QMessageBox::Question, Caption, Text, QMessageBox::Yes | QMessageBox::No);
    Box.setDefaultButton(QMessageBox::No);
    return Box.exec() == QMessageBox::Yes;
}

void MessageBeep(unsigned) {
    ++BeepCount;
    QApplication::beep();
}

void ShowHourglass() {
    if (!QApplication::overrideCursor()) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void ShowNormalCursor() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

// Exceptions that reach an event handler end in the error box.
[[maybe_unused]] static const bool ErrorBoxInstalled = [] {
    SetErrorReporter([](const QString& Text) {
        ShowNormalCursor();
        ShowErrorMsg(Text);
    });
    return true;
}();

// ---------------------------------------------------------------- files and names

void DeleteFileIfExists(const QString& FileName) {
    if (QFileInfo(FileName).isFile()) QFile::remove(FileName);
}

QString NameBeforeDot(const QString& Name) {
    int P = Name.indexOf(QLatin1Char('.'));
    return P < 0 ? Name : Name.left(P);
}

qint64 GetFileLength(const QString& FileName) {
    // Regular files only: measuring a FIFO or a device must neither block nor lie.
    return RegularFileLength(FileName);
}

QString UpperAscii(const QString& S) {
    QString R = S;
    for (QChar& C : R)
        if (C >= QLatin1Char('a') && C <= QLatin1Char('z')) C = QChar(C.unicode() - 32);
    return R;
}

QString DisplayName(const QString& Path) {
    return UpperAscii(QFileInfo(Path).fileName());
}

QString ExtractFileExtUpper(const QString& Name) {
    int Slash = Name.lastIndexOf(QLatin1Char('/'));
    int Dot = Name.lastIndexOf(QLatin1Char('.'));
    if (Dot < 0 || Dot < Slash) return QString();
    return UpperAscii(Name.mid(Dot));
}

QString FindFileCaseInsensitive(const QString& Folder, const QString& Name) {
    const QString Dir = WithSlash(Folder);
    if (Name.isEmpty()) return Dir;
    if (QFileInfo::exists(Dir + Name)) return Dir + Name;
    const QStringList Entries =
        QDir(Dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& E : Entries)
        if (E.compare(Name, Qt::CaseInsensitive) == 0) return Dir + E;
    return Dir + Name;
}

QString AbsoluteFilePath(const QString& Path) {
    return QDir::cleanPath(QFileInfo(Path).absoluteFilePath());
}

// ---------------------------------------------------------------- images and windows

void InvertImage(QImage& Image) {
    if (Image.isNull()) return;
    if (Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32)
        Image = Image.convertToFormat(QImage::Format_RGB32);
    Image.invertPixels(QImage::InvertRgb);
}

void FillImage(QImage& Image, quint32 Colour) {
    if (!Image.isNull()) Image.fill(WinColorToQColor(Colour));
}

QString NewFormName(const QString& Base) {
    QSet<QString> Used;
    for (QWidget* W : QApplication::allWidgets()) Used.insert(W->objectName());
    if (!Used.contains(Base)) return Base;
    for (int N = 1;; ++N)
        if (!Used.contains(Base + QStringLiteral("_%1").arg(N))) return Base + QStringLiteral("_%1").arg(N);
}

namespace {
// A free window that had the keyboard loses its native window when it is docked, and
// Qt hands that window's focus to the main window without activating it: the main
// window then has the keyboard on the screen but no control gets the key events' focus
// (nor shows it) until the focus leaves the program and comes back. The main window is
// made active here, and the docked window's control takes the focus.
void TakeKeyboardAfterDocking(QWidget* Form) {
    QWidget* Main = MainWindow()->Form();
    Main->activateWindow();
    if (!QApplication::activeWindow() && QGuiApplication::focusWindow() == Main->windowHandle()) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(Main);
        QT_WARNING_POP
    }
    if (QApplication::activeWindow() != Main) return;
    const QWidget* Focus = QApplication::focusWidget();
    if (Focus && Form->isAncestorOf(Focus)) return;
    QWidget* Control = Form->focusWidget();
    if (Control && Control->isVisible() && Control->isEnabled() && Control->focusPolicy() != Qt::NoFocus)
        Control->setFocus(Qt::ActiveWindowFocusReason);
    else
        Form->setFocus(Qt::ActiveWindowFocusReason);
}
} // namespace

void SetMDIChildStyle(QWidget* Form, bool MDIChild) {
    if (!Form || !MainWindow()) return;
    auto* Sub = qobject_cast<QMdiSubWindow*>(Form->parentWidget());
    if (MDIChild) {
        if (Sub) return;
        const QSize Size = Form->size();
        Form->hide();
        MainWindow()->AddMDIChild(Form);
        Form->show();
        if (auto* NewSub = qobject_cast<QMdiSubWindow*>(Form->parentWidget()))
            NewSub->resize(NewSub->sizeHint().expandedTo(Size));
        TakeKeyboardAfterDocking(Form);
        return;
    }
    if (!Sub) return;
    const QSize Size = Form->size();
    // The free window's frame takes the place of the MDI frame.
    const QPoint Corner = Sub->mapToGlobal(QPoint(0, 0));
    Sub->setWidget(nullptr);
    Form->setParent(MainWindow()->Form(), Qt::Window);
    // The main window finds its free document windows by this mark (language, quitting).
    Form->setProperty("freeDocumentWindow", true);
    Form->setAttribute(Qt::WA_DeleteOnClose, true);
    Sub->close();
    Form->resize(Size);
    MoveFrameTo(Form, Corner);
    Form->show();
    Form->activateWindow();
}

TJPEGImage* LoadJPEGResource(const char* ResName) {
    QByteArray Data = GetResource(ResName);
    if (Data.isEmpty()) return nullptr;
    auto* Jpeg = new TJPEGImage;
    try {
        Jpeg->LoadFromData(Data);
    } catch (...) {
        delete Jpeg;
        throw;
    }
    return Jpeg;
}

// ---------------------------------------------------------------- desktop

static TShellOpenHook ShellOpenHook;

void SetShellOpenHook(TShellOpenHook Hook) {
    ShellOpenHook = std::move(Hook);
}

bool ShellOpen(const QString& UrlOrPath) {
    if (ShellOpenHook) return ShellOpenHook(UrlOrPath);
    const QUrl Url =
        UrlOrPath.contains(QLatin1String("://")) ? QUrl(UrlOrPath) : QUrl::fromLocalFile(UrlOrPath);
    return QDesktopServices::openUrl(Url);
}

// ---------------------------------------------------------------- private font

void LoadATASCIIFont() {
    if (FontId >= 0) return;
    const QByteArray Data = GetResource("RESFONT1");
    if (!Data.isEmpty()) FontId = QFontDatabase::addApplicationFontFromData(Data);
}

void UnloadATASCIIFont() {
    if (FontId >= 0) QFontDatabase::removeApplicationFont(FontId);
    FontId = -1;
}

bool ATASCIIFontLoaded() {
    return FontId >= 0;
}

QString RepeatString(QChar Ch, int Count) {
    return Count > 0 ? QString(Count, Ch) : QString();
}
