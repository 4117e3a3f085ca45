// Fuzz target: the Solid States loader on any bytes, then a redraw of whatever it
// kept, from the default view and from one inside the object.
#include "FuzzSupport.h"
#include "uTom3D.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const std::unique_ptr<Tom3D> Model = std::make_unique<Tom3D>();
    static TPlainImageTarget Target(320, 192);
    Tom3D& M = *Model;
    M.Image = &Target;
    M.LoadFromData(QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));
    if (M.PointCount < 0 || M.PointCount > Tom3D::MaxPoints || M.LineCount < 0 ||
        M.LineCount > Tom3D::MaxLines)
        __builtin_trap();
    M.Observer = {50, 50, 50};
    M.ViewPoint = {0, 0, 0};
    M.DrawPoints = 1;
    M.Redraw();
    if (M.PointCount > 0) {
        M.Observer = {M.X[1], M.Y[1], M.Z[1]};
        M.RotateStep();
        M.Redraw();
    }
    if (Target.Picture.size() != QSize(320, 192)) __builtin_trap();
    return 0;
}

void MakeSeeds(const QString& Dir) {
    auto Records = [](std::initializer_list<const char*> Fields) {
        QByteArray Out;
        for (const char* F : Fields) Out += QByteArray(F) + char(0x9B);
        return Out;
    };
    // A cube: 8 points, 12 edges.
    WriteSeed(Dir, "cube.3d",
              Records({"8",   "-10", "10", "10", "-10", "-10", "10",  "10",  "-10", "-10", "-10", "10", "10",
                       "-10", "-10", "10", "10", "-10", "-10", "-10", "-10", "10",  "10",  "10",  "10", "12",
                       "1",   "2",   "2",  "3",  "3",   "4",   "4",   "1",   "5",   "6",   "6",   "7",  "7",
                       "8",   "8",   "5",  "1",  "5",   "2",   "6",   "3",   "7",   "4",   "8"}));
    WriteSeed(Dir, "empty.3d", Records({"0", "0"}));
    // Decimal points, exponents, a line to the view point and one out of range.
    WriteSeed(Dir, "odd.sol", Records({"2", "1.5", "-.5", "2E1", "0", "3", "-4", "2", "0", "1", "2", "7"}));
}
