#include "RandomRasters.h"

#include "support/BmpBuilder.h"

#include <algorithm>

namespace pelto {

const char* KindName(MaskKind kind) {
    static const char* const kNames[] = {"blobs",      "noise",   "lines",   "edge shapes",
                                         "everything", "nothing", "any byte"};
    return kNames[static_cast<int>(kind)];
}

std::unique_ptr<CMaskDIB> RandomMask(MaskKind kind, int width, int height, std::mt19937& rng) {
    auto mask = std::make_unique<CMaskDIB>(width, height);
    auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    auto select = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            mask->SetValue(CPoint(x, y), (x / 4 + y / 4) % 2 + 1);
    };
    const int area = width * height;
    switch (kind) {
    case MaskKind::Blobs:
    case MaskKind::EdgeShapes:
        for (int n = uniform(1, 5); n > 0; --n) {
            const bool edge = kind == MaskKind::EdgeShapes;
            const int cx = edge ? (uniform(0, 1) ? 0 : width - 1) : uniform(0, width - 1);
            const int cy = edge ? uniform(0, height - 1) : uniform(0, height - 1);
            const int r = uniform(0, std::max(width, height) / 2 + 1);
            for (int y = cy - r; y <= cy + r; ++y)
                for (int x = cx - r; x <= cx + r; ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) select(x, y);
        }
        if (uniform(0, 1)) // background around a shape rather than shapes in a background
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    mask->SetValue(CPoint(x, y),
                                   mask->GetValue(CPoint(x, y)) ? 0 : 1 + uniform(0, 1));
        break;
    case MaskKind::Noise: {
        const int percent = uniform(1, 99);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (uniform(0, 99) < percent) select(x, y);
        break;
    }
    case MaskKind::Lines: {
        const bool shapeLines =
            uniform(0, 1); // one-pixel shape lines on background, or the reverse
        if (shapeLines)
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    select(x, y);
        for (int n = uniform(1, 4); n > 0; --n) {
            const int x0 = uniform(0, width - 1), y0 = uniform(0, height - 1);
            const int dx = uniform(-1, 1), dy = dx == 0 ? 1 : uniform(-1, 1);
            for (int x = x0, y = y0; x >= 0 && y >= 0 && x < width && y < height;
                 x += dx, y += dy) {
                if (shapeLines)
                    mask->SetValue(CPoint(x, y), 0);
                else
                    select(x, y);
            }
        }
        break;
    }
    case MaskKind::Everything:
        for (int i = 0; i < area; ++i)
            select(i % width, i / width);
        break;
    case MaskKind::Nothing:
        break;
    case MaskKind::AnyByte:
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                mask->SetValue(CPoint(x, y), uniform(0, 3) ? uniform(0, 255) : 0);
        break;
    case MaskKind::kCount:
        break;
    }
    return mask;
}

std::unique_ptr<CDIB> RandomPicture(int width, int height, std::mt19937& rng) {
    auto dib = std::make_unique<CDIB>();
    LoadBytes(*dib, MakeBmp24(width, height, [&](int, int) { return COLORREF(rng() & 0xFFFFFF); }));
    return dib;
}

ButtonParams RandomParams(int width, bool outer, std::mt19937& rng) {
    ButtonParams params;
    params.angle = std::uniform_int_distribution<int>(kAngleRange.low, kAngleRange.high)(rng);
    params.contrast =
        std::uniform_int_distribution<int>(kContrastRange.low, kContrastRange.high)(rng);
    params.width = width;
    params.shape = BevelShape(rng() % 2);
    params.outline = outer ? BevelOutline::Outer : BevelOutline::Inner;
    return params;
}

} // namespace pelto
