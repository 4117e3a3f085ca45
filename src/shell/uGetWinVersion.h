#pragma once
// Naming of a Windows version from the system's extended version record. The
// naming is a pure function of the record, so it works (and is tested) anywhere;
// on other systems the about box shows the system's own product name instead.
#include <QString>
#include <functional>

// The extended version record, byte for byte as the system fills it (156 bytes;
// the first 148 are the plain record).
struct TOSVersionInfoEx {
    quint32 dwOSVersionInfoSize;
    quint32 dwMajorVersion;
    quint32 dwMinorVersion;
    quint32 dwBuildNumber;
    quint32 dwPlatformId;
    char szCSDVersion[128];
    quint16 wServicePackMajor;
    quint16 wServicePackMinor;
    quint16 wSuiteMask;
    quint8 wProductType;
    quint8 wReserved;
};
static_assert(sizeof(TOSVersionInfoEx) == 156, "the record must keep the system's layout");

constexpr quint32 OSVersionInfoExSize = 156;
constexpr quint32 OSVersionInfoSize = 148;

// Asks the system for the record; Info's size field says which form is wanted.
using TVersionQuery = std::function<bool(TOSVersionInfoEx& Info)>;

// Fills Info through Query: the extended form first, then the plain one; after
// two failures the size field is 0. True when one of the two calls succeeded.
bool GetOSVersionInfo(TOSVersionInfoEx& Info, const TVersionQuery& Query);

// The name of the Windows version the record describes, additions separated by
// line feeds; empty for a record whose size field is 0. HotfixQ246009 tells
// whether the hotfix key of Service Pack 6a could be opened (only consulted for
// NT 4 with "Service Pack 6").
QString GetWindowsVersionName(const TOSVersionInfoEx& Info, bool HotfixQ246009 = false);

// The running system's name for the about box.
QString GetWindowsVersionName();
