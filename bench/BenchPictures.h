#pragma once
// The benchmarks' pictures: a logo (a plain background with a few shapes and
// thin strokes) and a noisy one (every other pixel background, at random),
// square, built once per size and kind and kept.

#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"

#include <string>

namespace pelto {

inline constexpr COLORREF kBackground = RGB(240, 240, 236);

enum Kind { kLogo, kNoisy };
inline const char* const kKindNames[] = {"logo", "noisy"};

COLORREF LogoPixel(int size, int x, int yFromTop);
COLORREF NoisyPixel(int x, int yFromTop);
Bytes PictureFile(int size, Kind kind);

// The kept document of this size and kind, restored (undo) and re-picked
// before each timed call by the benchmarks that change it.
CPeltoDoc& Document(int size, Kind kind);
// Undoes the last button and picks the background at the top-left corner.
void Pick(CPeltoDoc& doc);

// The values the MakeButton benchmarks use: light 135°, contrast 128, round.
ButtonParams Params(int width, bool outer);
std::string ThreadsName(unsigned threads);

} // namespace pelto
