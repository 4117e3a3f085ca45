#include "uGetWinVersion.h"

#include <QSysInfo>
#include <cstring>

namespace {
constexpr quint32 VER_PLATFORM_WIN32s = 0;
constexpr quint32 VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr quint32 VER_PLATFORM_WIN32_NT = 2;
constexpr quint8 VER_NT_WORKSTATION = 1;
constexpr quint8 VER_NT_SERVER = 3;
constexpr quint16 VER_SUITE_ENTERPRISE = 0x0002;
constexpr quint16 VER_SUITE_DATACENTER = 0x0080;
constexpr quint16 VER_SUITE_PERSONAL = 0x0200;
constexpr quint16 VER_SUITE_BLADE = 0x0400;

// The service-pack text up to its terminator; a record without one ends at the array.
QString ServicePackText(const TOSVersionInfoEx& Info) {
    const char* Text = Info.szCSDVersion;
    const void* End = std::memchr(Text, 0, sizeof Info.szCSDVersion);
    const qsizetype Length = End ? static_cast<const char*>(End) - Text : qsizetype(sizeof Info.szCSDVersion);
    return QString::fromLatin1(Text, Length);
}

// The N-th character (from 1) of the service-pack text, or NUL past its end.
QChar ServicePackChar(const QString& Text, int N) {
    return N >= 1 && N <= Text.size() ? Text.at(N - 1) : QChar();
}
} // namespace

bool GetOSVersionInfo(TOSVersionInfoEx& Info, const TVersionQuery& Query) {
    std::memset(&Info, 0, sizeof Info);
    Info.dwOSVersionInfoSize = OSVersionInfoExSize;
    if (Query && Query(Info)) return true;
    std::memset(&Info, 0, sizeof Info);
    Info.dwOSVersionInfoSize = OSVersionInfoSize;
    if (Query && Query(Info)) return true;
    Info.dwOSVersionInfoSize = 0;
    return false;
}

QString GetWindowsVersionName(const TOSVersionInfoEx& Info, bool HotfixQ246009) {
    if (Info.dwOSVersionInfoSize == 0) return QString();
    const quint32 Major = Info.dwMajorVersion, Minor = Info.dwMinorVersion;
    const QString ServicePack = ServicePackText(Info);
    QString Result;
    switch (Info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        Result = QStringLiteral("Microsoft Win32s");
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (Major == 4 && Minor == 0) {
            Result = QStringLiteral("Microsoft Windows 95");
            const QChar C = ServicePackChar(ServicePack, 2);
            if (C == QLatin1Char('B') || C == QLatin1Char('C')) Result += QStringLiteral(" OSR2");
        } else if (Major == 4 && Minor == 10) {
            Result = QStringLiteral("Microsoft Windows 98");
            if (ServicePackChar(ServicePack, 2) == QLatin1Char('A')) Result += QStringLiteral(" SE");
        } else if (Major == 4 && Minor == 90) {
            Result = QStringLiteral("Microsoft Windows Millennium Edition");
        }
        break;
    case VER_PLATFORM_WIN32_NT: {
        if (Major == 5 && Minor == 2)
            Result = QStringLiteral("Microsoft Windows Server 2003");
        else if (Major == 5 && Minor == 1)
            Result = QStringLiteral("Microsoft Windows XP");
        else if (Major == 5 && Minor == 0)
            Result = QStringLiteral("Microsoft Windows 2000");
        else if (Major == 6 && Minor == 0)
            Result = QStringLiteral("Microsoft Windows Vista");
        else
            Result = QStringLiteral("Microsoft Windows NT");
        // Product type and suite mask belong to the extended part of the record.
        if (Info.dwOSVersionInfoSize >= OSVersionInfoExSize) {
            const quint16 Suite = Info.wSuiteMask;
            if (Info.wProductType == VER_NT_WORKSTATION) {
                if (Major == 4)
                    Result += QStringLiteral("\nWorkstation 4.0");
                else if (Suite & VER_SUITE_PERSONAL)
                    Result += QStringLiteral("\nHome Edition");
                else
                    Result += QStringLiteral("\nProfessional");
            } else if (Info.wProductType == VER_NT_SERVER) {
                if (Major == 5 && Minor == 2) {
                    if (Suite & VER_SUITE_DATACENTER)
                        Result += QStringLiteral("\nDatacenter Edition");
                    else if (Suite & VER_SUITE_ENTERPRISE)
                        Result += QStringLiteral("\nEnterprise Edition");
                    else if (Suite == VER_SUITE_BLADE)
                        Result += QStringLiteral("\nWeb Edition");
                    else
                        Result += QStringLiteral("\nStandard Edition");
                } else if (Major == 5 && Minor == 0) {
                    if (Suite & VER_SUITE_DATACENTER)
                        Result += QStringLiteral("\nDatacenter Server");
                    else if (Suite & VER_SUITE_ENTERPRISE)
                        Result += QStringLiteral("\nAdvanced Server");
                    else
                        Result += QStringLiteral("\nServer");
                } else {
                    Result += QStringLiteral("\nServer %1.%2").arg(Major).arg(Minor);
                    if (Suite & VER_SUITE_ENTERPRISE) Result += QStringLiteral(", Enterprise Edition");
                }
            }
        }
        if (Major == 4 && ServicePack == QLatin1String("Service Pack 6") && HotfixQ246009)
            Result += QStringLiteral("\nService Pack 6a");
        else
            Result += QLatin1Char('\n') + ServicePack;
        break;
    }
    default:
        break;
    }
    return Result;
}

QString GetWindowsVersionName() {
    // No Windows version record exists here: the system names itself.
    return QSysInfo::prettyProductName();
}
