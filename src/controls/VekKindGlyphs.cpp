#include "VekKindGlyphs.h"

#include <QImage>
#include <cstring>

// Our own pixel art for the dialog button kinds. Each picture is drawn as rows of
// palette letters, 18 pixels wide; '.' is the olive background. The disabled cell
// is derived from the picture: its ink pixels in grey with a white shadow one
// pixel right and down, everything else olive.

namespace {
struct TPaletteEntry {
    char Key;
    QRgb Colour;
};
constexpr TPaletteEntry Palette[] = {{'.', 0xFF808000}, {'k', 0xFF000000}, {'g', 0xFF008000},
                                     {'G', 0xFF00FF00}, {'r', 0xFF800000}, {'R', 0xFFFF0000},
                                     {'b', 0xFF000080}, {'B', 0xFF0000FF}, {'y', 0xFFFFFF00},
                                     {'w', 0xFFFFFFFF}, {'s', 0xFFC0C0C0}, {'a', 0xFF808080}};
constexpr int CellWidth = 18;

const char* const ArtOk[] = {"..................",
                             "..................",
                             "..................",
                             "..............kk..",
                             ".............kGgk.",
                             "............kGgk..",
                             "...........kGgk...",
                             "..kk......kGgk....",
                             ".kGgk....kGgk.....",
                             "..kGgk..kGgk......",
                             "...kGgkkGgk.......",
                             "....kGggGk........",
                             ".....kGgk.........",
                             "......kk..........",
                             "..................",
                             "..................",
                             "..................",
                             "..................",
                             nullptr};
const char* const ArtCancel[] = {"..................",
                                 "..................",
                                 "..................",
                                 "...rr.......rr....",
                                 "...rRr.....rRr....",
                                 "....rRr...rRr.....",
                                 ".....rRr.rRr......",
                                 "......rRrRr.......",
                                 ".......rRr........",
                                 "......rRrRr.......",
                                 ".....rRr.rRr......",
                                 "....rRr...rRr.....",
                                 "...rRr.....rRr....",
                                 "...rr.......rr....",
                                 "..................",
                                 "..................",
                                 "..................",
                                 "..................",
                                 nullptr};
const char* const ArtHelp[] = {"..................",
                               "..................",
                               "......bbbbbb......",
                               ".....bBBBBBBb.....",
                               "....bBBbbbbBBb....",
                               "....bBBb..bBBb....",
                               ".....bb...bBBb....",
                               ".........bBBb.....",
                               "........bBBb......",
                               ".......bBBb.......",
                               ".......bBBb.......",
                               "........bb........",
                               "..................",
                               "........bb........",
                               ".......bBBb.......",
                               ".......bBBb.......",
                               "........bb........",
                               "..................",
                               nullptr};
const char* const ArtNo[] = {"..................",
                             "..................",
                             "......rrrrrr......",
                             "....rrRRRRRRrr....",
                             "...rRRrrrrrrRRr...",
                             "...rRRRr....rRr...",
                             "..rRrRRRr....rRr..",
                             "..rRr.rRRr...rRr..",
                             "..rRr..rRRr..rRr..",
                             "..rRr...rRRr.rRr..",
                             "..rRr....rRRrrRr..",
                             "...rRr....rRRRr...",
                             "...rRRrrrrrrRRr...",
                             "....rrRRRRRRrr....",
                             "......rrrrrr......",
                             "..................",
                             "..................",
                             "..................",
                             nullptr};
const char* const ArtClose[] = {"..................",
                                "...kkkkkkkkkkkk...",
                                "...ksssssssssak...",
                                "...ksrrrrrrrrak...",
                                "...ksrRRRRRRrak...",
                                "...ksrRrrrrRrak...",
                                "...ksrRrrrrRrak...",
                                "...ksrRRRRRRrak...",
                                "...ksrrrrrrrrak...",
                                "...ksrrrrrryrak...",
                                "...ksrrrrrrrrak...",
                                "...ksrRRRRRRrak...",
                                "...ksrRrrrrRrak...",
                                "...ksrRrrrrRrak...",
                                "...ksrRRRRRRrak...",
                                "...ksrrrrrrrrak...",
                                "..kkkkkkkkkkkkkk..",
                                "..................",
                                nullptr};
const char* const ArtRetry[] = {"..................",
                                "..................",
                                ".......ggggg.g....",
                                ".....ggGGGGGgGg...",
                                "....gGGggggGGGg...",
                                "...gGGg....gGGg...",
                                "...gGg....gGGGg...",
                                "..gGg.....ggggg...",
                                "..gGg.............",
                                ".............gGg..",
                                "...ggggg.....gGg..",
                                "...gGGGg....gGg...",
                                "...gGGg....gGGg...",
                                "...gGGGggggGGg....",
                                "...gGgGGGGGgg.....",
                                "....g.ggggg.......",
                                "..................",
                                "..................",
                                nullptr};
const char* const ArtIgnore[] = {"..................",
                                 ".........ggg......",
                                 "........gGGGg.....",
                                 "........gGGGg.....",
                                 ".........ggg......",
                                 "......gggGGgggg...",
                                 ".....gGGGGGGGGGg..",
                                 "....gGg.gGGg..gg..",
                                 "...gGg..gGGg......",
                                 "....g..gGGGGg.....",
                                 ".......gGggGGg....",
                                 "......gGg..gGGg...",
                                 ".....gGg....gGg...",
                                 "..ggGGg......gGg..",
                                 "..gGGg.......gGGg.",
                                 "..ggg.........ggg.",
                                 "..................",
                                 "..................",
                                 nullptr};
const char* const ArtAll[] = {
    "..................", "..................", "...........kk.....", "..........kGgk....",
    ".........kGgk.....", "..kk....kGgk......", ".kGgk..kGgk.......", "..kGgkkGgk........",
    "...kGggGk...kk....", "....kGgk...kGgk...", ".....kk...kGgk....", "......kk.kGgk.....",
    ".....kGgkGgk......", "......kGgGk.......", ".......kGk........", "........k.........",
    "..................", "..................", "..................", nullptr};

struct TKindArt {
    const char* Name;
    const char* const* Rows;
    // Letters that count as ink for the disabled cell; nullptr: every letter but '.'.
    const char* DisabledInk;
};
constexpr TKindArt KindArt[] = {
    {"VEKBBOK", ArtOk, nullptr},         {"VEKBBCANCEL", ArtCancel, nullptr},
    {"VEKBBHELP", ArtHelp, nullptr},     {"VEKBBYES", ArtOk, nullptr},
    {"VEKBBNO", ArtNo, nullptr},         {"VEKBBCLOSE", ArtClose, "kRy"},
    {"VEKBBABORT", ArtCancel, nullptr},  {"VEKBBRETRY", ArtRetry, nullptr},
    {"VEKBBIGNORE", ArtIgnore, nullptr}, {"VEKBBALL", ArtAll, nullptr},
};

QRgb PaletteColour(char Key) {
    for (const auto& E : Palette)
        if (E.Key == Key) return E.Colour;
    return Palette[0].Colour;
}
} // namespace

QImage LoadKindGlyphResource(const char* Name) {
    if (!Name) return QImage();
    for (const auto& Art : KindArt) {
        if (std::strcmp(Art.Name, Name) != 0) continue;
        int Height = 0;
        while (Art.Rows[Height]) ++Height;
        QImage Image(2 * CellWidth, Height, QImage::Format_RGB32);
        Image.fill(PaletteColour('.'));
        auto IsInk = [&Art](char Key) {
            if (Key == '.') return false;
            return !Art.DisabledInk || std::strchr(Art.DisabledInk, Key) != nullptr;
        };
        for (int Y = 0; Y < Height; ++Y) {
            const char* Row = Art.Rows[Y];
            for (int X = 0; X < CellWidth && Row[X]; ++X) {
                Image.setPixel(X, Y, PaletteColour(Row[X]));
                if (IsInk(Row[X]) && X + 1 < CellWidth && Y + 1 < Height)
                    Image.setPixel(CellWidth + X + 1, Y + 1, 0xFFFFFFFF);
            }
        }
        for (int Y = 0; Y < Height; ++Y) {
            const char* Row = Art.Rows[Y];
            for (int X = 0; X < CellWidth && Row[X]; ++X)
                if (IsInk(Row[X])) Image.setPixel(CellWidth + X, Y, 0xFF808080);
        }
        return Image;
    }
    return QImage();
}
