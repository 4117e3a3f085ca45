#include "uConvertA8.h"

#include <algorithm>

namespace {
// Output of one Windows-1252 character: up to two bytes; Count 0 drops it.
struct TOutput {
    quint8 Bytes[2];
    int Count;
};

TOutput Convert(quint8 C) {
    switch (C) {
    case 13:
        return {{155, 0}, 1};
    case 196:
        return {{'A', 'e'}, 2};
    case 214:
        return {{'O', 'e'}, 2};
    case 220:
        return {{'U', 'e'}, 2};
    case 223:
        return {{'s', 's'}, 2};
    case 228:
        return {{'a', 'e'}, 2};
    case 246:
        return {{'o', 'e'}, 2};
    case 252:
        return {{'u', 'e'}, 2};
    default:
        break;
    }
    // "{" (123) is dropped: the Atari shows a playing-card symbol there.
    if ((C >= 32 && C <= 122) || (C >= 124 && C <= 127)) return {{C, 0}, 1};
    return {{0, 0}, 0};
}
} // namespace

int TConvertA8::ToATASCII(quint8* Dest, int DestSize) const {
    if (!Dest || DestSize <= 0) return 0;
    const int N = std::clamp(TextLength, 0, int(Text.size()));
    int Out = 0;
    for (int I = 0; I < N; ++I) {
        const TOutput O = Convert(quint8(Text.at(I)));
        if (O.Count > DestSize - Out) break;
        for (int K = 0; K < O.Count; ++K) Dest[Out++] = O.Bytes[K];
    }
    return Out;
}
