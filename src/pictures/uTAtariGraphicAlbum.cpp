// Contact sheet of a photo album.
#include "uTAtariFont.h"
#include "uTAtariGraphic.h"

namespace {

// Num / 2 rounded to the nearest integer, halves to the even neighbour.
int HalfRoundEven(int Num) {
    const int Q = Num >= 0 ? Num / 2 : -((-Num + 1) / 2); // floor
    if (Num % 2 == 0) return Q;
    return Q % 2 == 0 ? Q : Q + 1;
}

// Length of an album name without leading and trailing blanks and control characters.
int TrimmedLength(const QByteArray& S) {
    int L = 0, R = int(S.size());
    while (L < R && quint8(S.at(L)) <= 32) ++L;
    while (R > L && quint8(S.at(R - 1)) <= 32) --R;
    return R - L;
}

} // namespace

void TAtariGraphic::ShowAlbum(QImage& Image, int PerRow, bool ShowSize, bool ShowName) {
    static const TAtariFont Font; // the built-in set: built once, never changed
    FillImage(Image, gr8backcolor);
    // The pictures show their bits in the GR.8 colours.
    Packing = TBitPacking(gr8forecolor, gr8backcolor);
    if (PerRow < 1) PerRow = 1;
    int X = 0, Y = 0;
    for (int I = 1; I <= AlbumCount && I <= int(Album.size()); ++I) {
        const TAlbumPic& Pic = Album[I - 1];
        if (I > 1 && (I - 1) % PerRow == 0) {
            X = 0;
            // A row takes the picture height plus both caption lines, as the sheet's
            // height allows for; a smaller step would draw the next row over the captions.
            Y += AlbumMaxHeight + 16;
        }
        const QByteArray SizeText =
            "(" + QByteArray::number(Pic.WidthBytes) + "x" + QByteArray::number(Pic.Height) + ")";
        const int Dx = HalfRoundEven(AlbumMaxWidth - Pic.WidthBytes);
        const int Dy = HalfRoundEven(AlbumMaxHeight - Pic.Height);
        const int Dn = HalfRoundEven(AlbumMaxWidth - 8 * TrimmedLength(Pic.Name));
        const int Ds = HalfRoundEven(AlbumMaxWidth - 8 * int(SizeText.size()));
        DrawAlbumPic(Image, I, X + Dx, Y + Dy);
        if (ShowName) Font.DrawString(Image, Pic.Name, X + Dn, Y + AlbumMaxHeight + 4, 0xF0CAA6, 0);
        if (ShowSize) Font.DrawString(Image, SizeText, X + Ds, Y + AlbumMaxHeight + 12, 0x808080, 0);
        X += AlbumMaxWidth;
    }
}
