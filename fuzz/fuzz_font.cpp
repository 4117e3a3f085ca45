// Fuzz target: a .FNT font from memory: both code orders kept in step, the font
// window's drawings, text drawn with the loaded glyphs, and the saved bytes loading
// back to the same font.
#include "FuzzSupport.h"
#include "uTAtariFont.h"

#include <QImage>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const auto Font = std::make_unique<TAtariFont>();
    static const auto Reloaded = std::make_unique<TAtariFont>();
    TAtariFont& F = *Font;
    F.LoadBuiltinFont(1);
    const std::array<quint8, 1024> Before = F.FontInternal;
    const QByteArray In(reinterpret_cast<const char*>(Data), qsizetype(Size));
    F.LoadFromData(In);
    for (int I = 0; I < 1024; ++I) {
        const quint8 Expected = I < qsizetype(Size) ? Data[I] : Before[I];
        if (F.FontInternal[I] != Expected) FuzzFail("internal order");
        if (F.FontATASCII[TAtariFont::InternalToATASCIIIndex(I)] != Expected) FuzzFail("ATASCII order");
    }
    // The font window: the whole set, one enlarged character, a line of text.
    QImage Set(289, 73, QImage::Format_RGB32);
    Set.fill(0);
    F.DrawFont(Set, 1, 1, 1, 1, 0xFFFFFF, 0x904F1F);
    QImage Char(88, 88, QImage::Format_RGB32);
    Char.fill(0xFFFFFF);
    const int Code = Size > 0 ? Data[0] : 0;
    F.DrawChar(Char, 1, Code, 0, 0, 0, 0xFFFFFF, 11, false, true);
    F.DrawString(Set, In.left(36), 0, 60, 0xFFFFFF, 0);
    // Saving writes the internal order; loading it again gives the same font.
    const QByteArray Saved = F.SaveToData();
    if (Saved.size() != 1024) FuzzFail("saved size");
    TAtariFont& Again = *Reloaded;
    Again.LoadFromData(Saved);
    if (Again.FontInternal != F.FontInternal || Again.FontATASCII != F.FontATASCII) FuzzFail("round trip");
    // Editing one character changes both orders alike.
    TCharBytes Bytes{};
    F.GetCharBytes(Code & 127, Bytes, 1);
    TAtariFont::RotateChar(Bytes, Code & 1);
    F.PutCharBytes(Code & 127, Bytes, 1, (Code >> 1) & 3);
    TCharBytes Internal{}, Atascii{};
    F.GetCharBytes(TAtariFont::ATASCIIToInternal(quint8(Code & 127)), Internal, 0);
    F.GetCharBytes(Code & 127, Atascii, 1);
    if (Internal != Atascii) FuzzFail("orders apart after an edit");
    return 0;
}

void MakeSeeds(const QString& Dir) {
    TAtariFont F;
    WriteSeed(Dir, "standard.fnt", F.SaveToData());
    F.LoadBuiltinFont(2);
    WriteSeed(Dir, "international.fnt", F.SaveToData());
    WriteSeed(Dir, "short.fnt", F.SaveToData().left(1023));
    WriteSeed(Dir, "long.fnt", F.SaveToData() + QByteArray(1024, '\x55'));
    WriteSeed(Dir, "empty.fnt", QByteArray());
}
