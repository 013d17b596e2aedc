#include "BenchPictures.h"

#include "engine/ParallelRows.h"
#include "support/SquareDoc.h"

#include <map>
#include <memory>

namespace pelto {

namespace {

uint32_t Hash(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 13);
}

} // namespace

// A plain background with a disc, a bar, a ring and a row of thin strokes
// shaded with a gradient, the way a logo looks.
COLORREF LogoPixel(int size, int x, int yFromTop) {
    const double u = double(x) / size, v = double(yFromTop) / size;
    auto inDisc = [&](double cu, double cv, double r) {
        return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= r * r;
    };
    const bool disc = inDisc(0.33, 0.4, 0.22);
    const bool bar = u > 0.45 && u < 0.92 && v > 0.3 && v < 0.5;
    const bool ring = inDisc(0.72, 0.72, 0.18) && !inDisc(0.72, 0.72, 0.1);
    const bool strokes = v > 0.78 && v < 0.94 && u > 0.08 && u < 0.5 && int(u * 60) % 3 == 0;
    if (!(disc || bar || ring || strokes)) return kBackground;
    return RGB(uint32_t(30 + 180 * u), 90, uint32_t(200 - 150 * v));
}

// Every other pixel (at random) background, the rest random colours: the
// band covers half the picture whatever the width.
COLORREF NoisyPixel(int x, int yFromTop) {
    const uint32_t h = Hash(uint32_t(x), uint32_t(yFromTop));
    if ((h & 1) || (x == 0 && yFromTop == 0)) return kBackground;
    return RGB((h >> 8) % 200, (h >> 16) % 200, (h >> 24) % 200);
}

Bytes PictureFile(int size, Kind kind) {
    return MakeBmp24(size, size, [&](int x, int y) {
        return kind == kLogo ? LogoPixel(size, x, y) : NoisyPixel(x, y);
    });
}

// Pictures are costly to build: one document per size and kind, restored
// (undo) and re-picked before each timed call.
CPeltoDoc& Document(int size, Kind kind) {
    static std::map<std::pair<int, Kind>, std::unique_ptr<CPeltoDoc>> documents;
    auto& doc = documents[{size, kind}];
    if (!doc) {
        doc = std::make_unique<CPeltoDoc>();
        LoadPicture(*doc, PictureFile(size, kind));
    }
    return *doc;
}

void Pick(CPeltoDoc& doc) {
    doc.Undo();
    doc.ClearSelection();
    doc.SelectBackground(0, 0, 0);
}

ButtonParams Params(int width, bool outer) {
    return ButtonParams{135, 128, width, BevelShape::Round,
                        outer ? BevelOutline::Outer : BevelOutline::Inner};
}

std::string ThreadsName(unsigned threads) {
    return threads ? "threads:" + std::to_string(threads)
                   : "threads:all(" + std::to_string(ResolveThreads(0)) + ")";
}

} // namespace pelto
