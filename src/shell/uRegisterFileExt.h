#pragma once
// Associates the program's file extensions with it for the current user, the
// freedesktop way: a MIME package naming the type, its extensions and its icon, a
// desktop entry that opens the files with this program, the type's default
// application in mimeapps.list, and the program's icon in the user's hicolor
// theme. Unregistering removes exactly these again.
#include <QString>
#include <array>

// The extensions the settings dialog lists and registers, in this order.
class TMorvanelFileTypes {
public:
    static constexpr int Count = 12;
    TMorvanelFileTypes();
    // Index 1..Count (".GR8" ... ".3D"); empty outside.
    QString Extension(int Index) const;

private:
    std::array<QString, Count + 1> FTypes; // index 0 unused
};

extern const QString MorvanelFileTypeName;    // "TEVRA Morvanel file"
extern const QString MorvanelFileDescription; // "Morvanel A8-Viewer"

// Base folders of the registration; tests point them at a temporary home.
struct TFileTypeFolders {
    QString DataHome;   // $XDG_DATA_HOME (~/.local/share)
    QString ConfigHome; // $XDG_CONFIG_HOME (~/.config)
    // Runs update-mime-database / update-desktop-database (when installed) after a change.
    bool UpdateDatabases = true;
};
TFileTypeFolders DefaultFileTypeFolders();

// The files a registration writes.
QString MimePackagePath(const TFileTypeFolders& Folders);  // DataHome/mime/packages/tevra-morvanel.xml
QString DesktopEntryPath(const TFileTypeFolders& Folders); // DataHome/applications/tevra-morvanel.desktop
QString MimeAppsListPath(const TFileTypeFolders& Folders); // ConfigHome/mimeapps.list
QString
IconFilePath(const TFileTypeFolders& Folders); // DataHome/icons/hicolor/scalable/apps/tevra-morvanel.svg
extern const QString MorvanelDesktopId;        // "tevra-morvanel.desktop"
extern const QString MorvanelIconName;         // "tevra-morvanel": the icon's theme name

// The MIME type standing for a type name: "application/x-" + its lower-case words
// joined by '-' ("TEVRA Morvanel file" -> "application/x-tevra-morvanel-file").
QString MimeTypeOfTypeName(const QString& TypeName);

// Adds Extension (".GR8") to the type TypeName described by Description, and lets
// ProgramPath open such files, Parameter (the desktop field code, "%F") standing
// for them. The type and the desktop entry show the program's own icon, installed
// into the icon theme; IconIndex picks an icon inside a Windows program file and
// has nothing to select here. Registering again changes nothing. False when a file
// could not be written or the database update failed; no message.
bool RegisterFileType(const QString& Extension, const QString& TypeName, const QString& Description,
                      int IconIndex, const QString& Parameter, const QString& ProgramPath,
                      const TFileTypeFolders& Folders = DefaultFileTypeFolders());

// Removes the association of Extension and the type itself with everything the
// registration wrote: all extensions of the type go with the first call, later
// calls find nothing and change nothing. Other lines of mimeapps.list stay as
// they are. False on an error.
bool UnregisterFileType(const QString& Extension, const QString& TypeName,
                        const TFileTypeFolders& Folders = DefaultFileTypeFolders());
