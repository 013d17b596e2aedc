#include "BackgroundSelection.h"

#include "OpaqueMatch.h"
#include "ParallelRows.h"
#include "SameSize.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace pelto {

namespace {

// Whether a pixel matches the seed. opacity is the pixel's row of the opacity
// plane, or null for an opaque picture.
class Likeness {
public:
    Likeness(COLORREF seed, int threshold, bool seedVisible)
        : m_seed{int(GetRValue(seed)), int(GetGValue(seed)), int(GetBValue(seed)), threshold},
          m_seedVisible(seedVisible) {}

    bool operator()(const uint8_t* colours, const uint8_t* opacity, int c) const {
        if (opacity) {
            const bool visible = opacity[c] != 0;
            // A transparent pixel's colour is never seen, so it is not compared.
            if (visible != m_seedVisible) return false;
            if (!visible) return true;
        }
        return m_seed.Near(colours + 3 * size_t(c));
    }

    const OpaqueSeed& Seed() const { return m_seed; }

private:
    OpaqueSeed m_seed;
    bool m_seedVisible;
};

uint8_t* MaskRow(CMaskDIB& mask, int r) {
    return mask.m_pBits + raster::Offset(0, r, mask.m_nStride, 1);
}

void SelectMatching(const CDIB& image, CMaskDIB& mask, const CAlphaPlane* alpha,
                    const Likeness& like, bool fresh, unsigned threads) {
    const int width = image.m_nWidth;
    const OpaqueSeed& seed = like.Seed();
    RunBands(image.m_nHeight, BandCount(image.m_nHeight, threads), [&](unsigned, RowBand band) {
        for (int r = band.first; r < band.last; ++r) {
            const uint8_t* colours = image.Row(r);
            uint8_t* row = MaskRow(mask, r);
            if (!alpha) {
                MatchOpaqueRow(colours, row, width, r, seed, fresh);
                if (fresh) std::memset(row + width, 0, mask.m_nStride - size_t(width));
                continue;
            }
            if (fresh) std::memset(row, 0, mask.m_nStride);
            const uint8_t* opacity = alpha->Row(r);
            for (int c = 0; c < width; ++c)
                if (like(colours, opacity, c)) row[c] = static_cast<uint8_t>(CheckerValue(c, r));
        }
    });
}

// How a fill marks the pixels it reached. In a mask made for it, every
// marked pixel is one, so it takes its final value at once.
struct NewMaskMarks {
    static bool Reached(uint8_t value) { return value != 0; }
    static uint8_t Mark(uint8_t, int c, int r) { return static_cast<uint8_t>(CheckerValue(c, r)); }
};

// In a mask with an earlier selection, the fill must go on through selected
// pixels, so it sets a bit beside the value (0..2), which it keeps: once the
// fill is done the bit is settled into the selected value, or, should the
// fill fail, cleared to give back what the pixel held.
constexpr uint8_t kReached = 4;
struct AddedMarks {
    static bool Reached(uint8_t value) { return value & kReached; }
    static uint8_t Mark(uint8_t value, int, int) { return value | kReached; }
};

// Columns left..right and stored rows bottom..top, all inclusive.
struct Box {
    int left, right, bottom, top;
};

// Scanline fill from the seed with an explicit stack of row pieces still to
// scan. A piece is a run already filled in the row before it (row - step);
// every run of matching pixels found under it is widened to its full length
// and marked, the row beyond it (row + step) becomes a piece, and so do the
// parts of the row before that the run overhangs: the rest of that row is
// filled already and is not scanned again. Widens reached to hold the marks.
template <class Marks>
void FillConnected(const CDIB& image, CMaskDIB& mask, const CAlphaPlane* alpha,
                   const Likeness& like, int seedColumn, int seedRow, Box& reached) {
    struct Piece {
        int row, first, last, step;
    };
    const int width = image.m_nWidth;
    const int height = image.m_nHeight;
    std::vector<Piece> pieces;
    const auto push = [&](int row, int first, int last, int step) {
        if (row >= 0 && row < height) pieces.push_back({row, first, last, step});
    };
    // The seed's row, as if the row above it were filled at the seed, and the
    // row above from the seed, which makes that so.
    push(seedRow + 1, seedColumn, seedColumn, 1);
    push(seedRow, seedColumn, seedColumn, -1);
    while (!pieces.empty()) {
        const auto [r, first, last, step] = pieces.back();
        pieces.pop_back();
        const uint8_t* colours = image.Row(r);
        const uint8_t* opacity = alpha ? alpha->Row(r) : nullptr;
        uint8_t* marks = MaskRow(mask, r);
        const auto open = [&](int c) {
            return !Marks::Reached(marks[c]) && like(colours, opacity, c);
        };
        for (int c = first; c <= last; ++c) {
            if (!open(c)) continue;
            int left = c;
            while (left > 0 && open(left - 1))
                --left;
            int right = c;
            while (right + 1 < width && open(right + 1))
                ++right;
            for (int i = left; i <= right; ++i)
                marks[i] = Marks::Mark(marks[i], i, r);
            reached = {std::min(reached.left, left), std::max(reached.right, right),
                       std::min(reached.bottom, r), std::max(reached.top, r)};
            push(r + step, left, right, step);
            if (left < first) push(r - step, left, first - 1, -step);
            if (right > last) push(r - step, last + 1, right, -step);
            c = right + 1; // not open: the loop steps past it
        }
    }
}

// Turns the fill's marks into selected pixels, or back into what they were.
void SettleReached(CMaskDIB& mask, const Box& box, bool selected) {
    for (int r = box.bottom; r <= box.top; ++r) {
        uint8_t* row = MaskRow(mask, r);
        for (int c = box.left; c <= box.right; ++c)
            if (row[c] & kReached)
                row[c] = selected ? static_cast<uint8_t>(CheckerValue(c, r))
                                  : static_cast<uint8_t>(row[c] & ~kReached);
    }
}

// newMask: made for this pick, and dropped should the fill fail.
void SelectConnected(const CDIB& image, CMaskDIB& mask, bool newMask, const CAlphaPlane* alpha,
                     const Likeness& like, int seedColumn, int seedRow) {
    Box reached{seedColumn, seedColumn, seedRow, seedRow};
    if (newMask)
        return FillConnected<NewMaskMarks>(image, mask, alpha, like, seedColumn, seedRow, reached);
    try {
        FillConnected<AddedMarks>(image, mask, alpha, like, seedColumn, seedRow, reached);
    } catch (const std::bad_alloc&) {
        SettleReached(mask, reached, false);
        throw;
    }
    SettleReached(mask, reached, true);
}

} // namespace

void SelectBackground(const CDIB& image, std::unique_ptr<CMaskDIB>& mask,
                      const BackgroundPick& pick, const CAlphaPlane* alpha, unsigned threads) {
    const int width = image.m_nWidth;
    const int height = image.m_nHeight;
    const int x = pick.x;
    const int yFromTop = pick.y;
    if (!image.HasBlock() || x < 0 || yFromTop < 0 || x >= width || yFromTop >= height) return;
    if (mask) RequireSameSize(image, *mask, "the selection is not of the picture's size");
    if (alpha && !alpha->HasBlock()) alpha = nullptr;
    if (alpha && (alpha->Width() != width || alpha->Height() != height))
        throw std::invalid_argument("the opacity is not of the picture's size");

    const int seedRow = height - 1 - yFromTop;
    const Likeness like(image.GetPixel(x, seedRow), ToleranceThreshold(pick.tolerance),
                        !alpha || alpha->GetAlpha(x, seedRow) != 0);
    // A mask made here is handed over only once the pick has succeeded.
    // A plain pick writes every row of a new mask whole.
    std::unique_ptr<CMaskDIB> made =
        mask             ? nullptr
        : pick.connected ? std::make_unique<CMaskDIB>(width, height)
                         : std::make_unique<CMaskDIB>(width, height, CMaskDIB::Unfilled{});
    CMaskDIB& marks = made ? *made : *mask;
    if (pick.connected)
        SelectConnected(image, marks, made != nullptr, alpha, like, x, seedRow);
    else
        SelectMatching(image, marks, alpha, like, made != nullptr, threads);
    if (made) mask = std::move(made);
}

void SelectTransparent(const CAlphaPlane& alpha, std::unique_ptr<CMaskDIB>& mask) {
    if (!alpha.HasBlock()) return;
    if (mask && (mask->m_nWidth != alpha.Width() || mask->m_nHeight != alpha.Height()))
        throw std::invalid_argument("the selection is not of the picture's size");
    if (!mask) mask = std::make_unique<CMaskDIB>(alpha.Width(), alpha.Height());
    for (int r = 0; r < alpha.Height(); ++r) {
        const uint8_t* opacity = alpha.Row(r);
        uint8_t* row = mask->m_pBits + raster::Offset(0, r, mask->m_nStride, 1);
        for (int c = 0; c < alpha.Width(); ++c)
            if (opacity[c] == 0) row[c] = static_cast<uint8_t>(CheckerValue(c, r));
    }
}

} // namespace pelto
