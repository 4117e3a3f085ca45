#pragma once
// Services every part of the program calls: folders, settings, message texts,
// message boxes, cursors, file and bit routines, the private ATASCII face.
#include "FileIO.h"
#include "Guarded.h"
#include "WinColor.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QObject;
class TJPEGImage;
class TIniFile;

// ---- folders (each ends with '/') ----
extern QString SettingsFolder; // local application data + "TEVRA/Morvanel/"
extern QString ProgramFolder;  // folder of the executable
extern QString LanguageFolder; // ProgramFolder + "langscripts/"
extern QString ManualsFolder;  // ProgramFolder + "manuals/"
// Sets the four folders and creates SettingsFolder with its parents; a failure is
// shown with ShowErrorMsg and start-up goes on.
void InitFolders();
// The program's name for its settings and the desktop. It sets no display name:
// the window system would append that to every dialog's and message's caption.
void SetApplicationIdentity();
// A per-process temporary folder for report pictures and joined pages; removed at exit.
QString TempFolder();

extern const QString VersionText;
constexpr quint32 TopPanelColor = 0x9D4E01;

// ---- settings (Morvanel.INI in SettingsFolder) ----
extern QString LngFile;
extern quint8 phoformat;
extern quint8 pic2x2mode;
extern QString openpath;
extern quint32 col0, col1, col2, col3;
extern quint32 fontforecolor, fontbackcolor, gr8forecolor, gr8backcolor;
extern quint32 listingforecolor, listingbackcolor, listingprintforecolor, listingprintbackcolor;
extern quint32 textforecolor, textbackcolor, textPrintforecolor, textPrintbackcolor;
extern quint32 CurrentColors[4];
// Text dialect forced by the open dialog: -1 detect, 1 ATARI-Schreiber, 2 Startexter.
extern int TextMode;
QString SettingsFileName();
void SetSettingsDefaults();
// The photo dialect, page order and every colour at their standard values.
void SetStandardValues();
// Both leave a settings file that exists but cannot be read (too large, no regular
// file, no access) as it is, with one warning: the program runs on the defaults.
void LoadSettings(); // also places and sizes frmMain when it exists, on the screen
// Stored main window geometry moved and cut to lie within Area, with a usable minimum
// size, so a damaged settings file cannot make the window unusable.
QRect FitGeometryToArea(int Left, int Top, int Width, int Height, const QRect& Area);
// The available area of the screen a stored corner lies on, else of the primary one.
QRect RestoreArea(int Left, int Top);
void SaveSettings(); // throws EMorvanelError when the file cannot be written

// ---- message texts (section GeneralMsg of the current language file) ----
// The file is looked up by name at every call, so a file changed on disk is seen at
// the next lookup; it is parsed again only when its size or times have changed.
// When the current file is missing, GetMsg warns once with its path + " not found!"
// and goes on with "german.lng" (an empty text when that is missing too).
QString GetMsg(const QString& Key);
QString CurrentLanguageFile(); // LanguageFolder + LngFile, found without regard to case
// Makes LngFile name an existing file, as GetMsg does; false when no file is there.
bool CheckLanguageFile();
// The parsed language file at Path (empty when there is none), shared with GetMsg.
std::shared_ptr<const TIniFile> LanguageFileContents(const QString& Path);

// ---- message boxes, beep, cursors ----
enum class TMsgKind { Info, Warning, Error, Plain };
// Tests replace the boxes with a recorder; nullptr restores the real boxes.
using TMessageBoxHook = std::function<void(TMsgKind Kind, const QString& Caption, const QString& Text)>;
void SetMessageBoxHook(TMessageBoxHook Hook);
void ShowInfoMsg(const QString& Text);
void ShowWarningMsg(const QString& Text);
void ShowErrorMsg(const QString& Text);
void ShowPlainMsg(const QString& Text); // no icon, caption = application title
// A Yes/No question, No by default; true for Yes. Tests answer it with a hook;
// nullptr restores the real box.
using TQuestionHook = std::function<bool(const QString& Caption, const QString& Text)>;
void SetQuestionHook(TQuestionHook Hook);
bool AskYesNo(const QString& Caption, const QString& Text);
void MessageBeep(unsigned Type = 0);
extern int BeepCount; // counts beeps, for tests
// How long a hint stays visible, in milliseconds.
extern int HintHidePause;
void ShowHourglass();
void ShowNormalCursor();

// Progress of long drawing: position and maximum of the main progress bar.
using TProgressFn = std::function<void(int Position, int Max)>;

// ---- files and names ----
void DeleteFileIfExists(const QString& FileName);
QString NameBeforeDot(const QString& Name);
qint64 GetFileLength(const QString& FileName); // throws EInOutError
QString GetSpecialFolder(int FolderId);        // 28: local application data; no trailing '/'
// The bare name of a path upper-cased in ASCII (a-z only): the name the program
// shows and decides types by.
QString DisplayName(const QString& Path);
QString UpperAscii(const QString& S);
// Extension of a name from its last '.', dot included, upper-cased; empty when none.
QString ExtractFileExtUpper(const QString& Name);
// Finds Name in Folder: the exact name first, else the first entry equal without
// regard to case. Returns the full path, or Folder + Name when nothing matches.
QString FindFileCaseInsensitive(const QString& Folder, const QString& Name);
// Absolute, cleaned path of a command-line argument or dropped file.
QString AbsoluteFilePath(const QString& Path);

// ---- images and windows ----
// A window name not yet in use: Base, then Base_1, Base_2 ... as windows of a kind
// were always named (the language files find them by the part before '_').
QString NewFormName(const QString& Base);
void InvertImage(QImage& Image);
void FillImage(QImage& Image, quint32 Colour);
// Moves a document window between the main window's MDI area and a free window.
void SetMDIChildStyle(QWidget* Form, bool MDIChild);
// The JPEG picture of the resources under ResName; nullptr when there is none.
TJPEGImage* LoadJPEGResource(const char* ResName);

// ---- the desktop's default programs (web sites, manuals, help pages) ----
// Opens a URL or a local file; false when the desktop could not be asked.
bool ShellOpen(const QString& UrlOrPath);
using TShellOpenHook = std::function<bool(const QString& UrlOrPath)>;
void SetShellOpenHook(TShellOpenHook Hook); // tests record instead of opening

// ---- private ATASCII face ----
void LoadATASCIIFont();
void UnloadATASCIIFont();
bool ATASCIIFontLoaded();

// ---- bits and strings (bit 0 = least significant) ----
inline void SetBit(quint8& B, int N) {
    B = quint8(B | (1u << N));
}
inline void ClearBit(quint8& B, int N) {
    B = quint8(B & ~(1u << N));
}
inline void ToggleBit(quint8& B, int N) {
    B = quint8(B ^ (1u << N));
}
inline bool GetBit(quint8 B, int N) {
    return N >= 0 && N < 8 && (B >> N) & 1;
}
inline void InvertByte(quint8& B) {
    B = quint8(~B);
}
QString RepeatString(QChar Ch, int Count);
