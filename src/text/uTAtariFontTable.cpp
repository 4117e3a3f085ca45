// The 256-entry character table: keyboard codes, names and key combinations.
#include "uTAtariFont.h"

namespace {

// Keyboard codes of ATASCII 0-127: key code, +64 with SHIFT, +128 with CTRL.
constexpr quint8 KeyCodes[128] = {
    160, 191, 149, 146, 186, 170, 184, 189, 185, 141, 129, 133, 128, 165, 163, 136, // 0-15
    138, 175, 168, 190, 173, 139, 144, 174, 150, 171, 151, 28,  142, 143, 134, 135, // 16-31
    33,  95,  94,  90,  88,  93,  91,  115, 112, 114, 7,   6,   32,  14,  34,  38,  // 32-47
    50,  31,  30,  26,  24,  29,  27,  51,  53,  48,  66,  2,   54,  15,  55,  102, // 48-63
    117, 127, 85,  82,  122, 106, 120, 125, 121, 77,  65,  69,  64,  101, 99,  72,  // 64-79
    74,  111, 104, 126, 109, 75,  80,  110, 86,  107, 87,  96,  70,  98,  71,  78,  // 80-95
    162, 63,  21,  18,  58,  42,  56,  61,  57,  13,  1,   5,   0,   37,  35,  8,   // 96-111
    10,  47,  40,  62,  45,  11,  16,  46,  22,  43,  23,  130, 79,  118, 52,  44,  // 112-127
};

constexpr const char* ControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                          "BS",  "HAT", "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                          "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                          "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

// Plain literals, so the table can be built before any static QByteArray exists.
constexpr char Ctrl[] = "CTRL ";
constexpr char Inv[] = "INV ";
constexpr char Esc[] = "ESC ";
constexpr char Shift[] = "SHIFT ";
constexpr char Caps[] = "CAPS ";

QByteArray Chr(int Code) {
    return QByteArray(1, char(Code));
}

QByteArray KeyCombinationLow(int Code) {
    static const char* const Ctrl28[4] = {"-", "=", "+", "*"};
    static const char ShiftDigits[] = "123456790";
    static const char* const Shift91[5] = {";", ",", "+", "*", "-"};
    if (Code == 0) return QByteArray(Ctrl) + ",";
    if (Code <= 26) return QByteArray(Ctrl) + Chr(Code + 64);
    if (Code == 27) return QByteArray(Esc) + "ESC";
    if (Code <= 31) return QByteArray(Esc) + Ctrl + Ctrl28[Code - 28];
    if (Code == 32) return QByteArray("SPACE");
    if (Code <= 41) return QByteArray(Shift) + Chr(ShiftDigits[Code - 33]);
    if (Code <= 64) return Chr(Code);
    if (Code <= 90) return Chr(Code) + " / " + Shift + Chr(Code);
    if (Code <= 95) return QByteArray(Shift) + Shift91[Code - 91];
    if (Code == 96) return QByteArray(Ctrl) + ".";
    if (Code <= 122) return Chr(Code - 32) + " / " + Caps + Chr(Code - 32);
    if (Code == 123) return QByteArray(Ctrl) + ";";
    if (Code == 124) return QByteArray(Shift) + "=";
    if (Code == 125) return QByteArray(Esc) + Ctrl + "< | " + Esc + Shift + "<";
    if (Code == 126) return QByteArray(Esc) + "BACK SPACE";
    return QByteArray(Esc) + "TAB";
}

QByteArray KeyCombinationHigh(int Code) {
    static const char* const Esc156[4] = {"SHIFT BACK SPACE", "SHIFT >", "CTRL TAB", "SHIFT TAB"};
    if (Code == 155) return QByteArray(Inv) + "RETURN";
    if (Code >= 156 && Code <= 159) return QByteArray(Esc) + Esc156[Code - 156];
    if (Code >= 193 && Code <= 218) return QByteArray(Inv) + Chr(Code - 128);
    if (Code >= 225 && Code <= 250) return QByteArray(Inv) + Caps + Chr(Code - 160);
    if (Code == 253) return QByteArray(Esc) + Ctrl + "2";
    if (Code == 254) return QByteArray(Inv) + Esc + Ctrl + "BACK SPACE";
    if (Code == 255) return QByteArray(Inv) + Esc + Ctrl + ">";
    return QByteArray(Inv) + KeyCombinationLow(Code - 128);
}

} // namespace

void TAtariFont::InitFontTable() {
    FontKind = 1;
    LoadBuiltinFont(1);
    for (int I = 0; I < 256; ++I) {
        CharTable[I].ATASCIICode = quint8(I);
        CharTable[I].InternalCode = ATASCIIToInternal(quint8(I));
    }
    for (int I = 0; I < 128; ++I) CharTable[I].KeyCode = KeyCodes[I];
    for (int I = 128; I < 256; ++I) CharTable[I] = CharTable[I - 128];
    for (int I = 0; I < 256; ++I) {
        FontTable& E = CharTable[I];
        if (I < 32)
            E.Mnemonic = ControlNames[I];
        else if (I == 32)
            E.Mnemonic = "<SPACE>";
        else if (I == 127)
            E.Mnemonic = "DEL";
        else
            E.Mnemonic = Chr(I);
        E.KeyCombination = I < 128 ? KeyCombinationLow(I) : KeyCombinationHigh(I);
    }
}
