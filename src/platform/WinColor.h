#pragma once
#include <QColor>
#include <QRgb>

// Colours are kept as 32-bit Windows values 0x00BBGGRR. A value whose top byte is
// 0xFF names a system colour by its low byte; clNone and clDefault mean none/default.
constexpr quint32 clNone = 0x1FFFFFFF;
constexpr quint32 clDefault = 0x20000000;
constexpr quint32 clBlack = 0x000000;
constexpr quint32 clWhite = 0xFFFFFF;
constexpr quint32 clSilver = 0xC0C0C0;
constexpr quint32 clGray = 0x808080;
constexpr quint32 clOlive = 0x008080;

// System colour indices (low byte of a 0xFF0000nn value).
enum : quint32 {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30
};
constexpr quint32 SysColor(quint32 Index) {
    return 0xFF000000u | Index;
}
constexpr quint32 clBtnFace = SysColor(COLOR_BTNFACE);
constexpr quint32 clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr quint32 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr quint32 clBtnText = SysColor(COLOR_BTNTEXT);
constexpr quint32 clWindow = SysColor(COLOR_WINDOW);
constexpr quint32 clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr quint32 clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr quint32 clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr quint32 clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr quint32 cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr quint32 cl3DLight = SysColor(COLOR_3DLIGHT);

// Resolves system colours through our fixed table (classic scheme); plain values pass.
quint32 ColorToRGB(quint32 Color);
// 0x00BBGGRR (system colours resolved) to Qt and back.
QRgb WinColorToRgb(quint32 Color);
QColor WinColorToQColor(quint32 Color);
quint32 RgbToWinColor(QRgb Rgb);
