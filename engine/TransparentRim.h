#pragma once
// An outer band over transparency. Where the band lies on pixels the picture
// does not show (alpha 0) there is no colour to shade, so each such band
// pixel takes the colour of the shape pixel its search found before pass 2:
// the button grows its rim outward. Every other band pixel, and every pixel
// of an inner band, keeps its colour and opacity.
//
// A picture whose opacity is only ever 0 or 255 gets an opaque rim with a
// hard edge. A soft-edged one (any opacity in between) gets a rim as smooth
// as itself: a rim pixel's opacity is the part of it that the shape, grown by
// the band width, covers (RimCover.h). Pixels just past the band that the
// grown shape partly covers join the rim, taking their colour from the rim
// pixels beside them once those are shaded (Finish). The shape's own
// half-transparent pixels under the rim become opaque, however wide its soft
// edge: those next to the rim are laid over it, taking part of its colour,
// and those joined to them through others further in keep their own.
//
// Band pixels are selected and found points are not, so the threads of
// pass 1 never write a colour or opacity another one reads. The marks they
// leave for Finish only ever rise, so their order does not matter.

#include "RimCover.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/MaskDib.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace pelto {

class CTransparentRim {
public:
    // Colours come from image itself, unless a copy of it (source) is given.
    CTransparentRim(CDIB& image, CAlphaPlane& alpha, const CDIB* source = nullptr)
        : m_image(image), m_alpha(alpha), m_pSource(source) {}
    const CDIB& Image() const { return m_image; }
    const CAlphaPlane& Alpha() const { return m_alpha; }

    // Whether some opacity lies between none and full. Without, Take needs
    // no Prepare and Finish does nothing: each band pixel settles alone.
    static bool SoftEdged(const CAlphaPlane& alpha);
    // Before pass 1 of an outer band of this width over mask, which must stay
    // until Finish: looks for soft edges and makes room for the marks. May
    // throw std::bad_alloc; changes no pixel.
    void Prepare(const CMaskDIB& mask, int width);
    // About the most Prepare allocates for a picture of columns x rows.
    static uint64_t SoftEdgeBytes(int columns, int rows, int width) {
        return uint64_t(columns) * uint64_t(rows) + CRimCover::Bytes(columns, rows, width);
    }
    // The band pixel (x, y) whose search found (foundX, foundY), in stored rows.
    void Take(int x, int y, int foundX, int foundY);
    // After pass 2: the pixels past the band and the shape's edge under the
    // rim. Cannot fail; any thread count gives the same bytes.
    void Finish(unsigned threads);

private:
    bool Selected(int x, int y) const;
    // fn(x, y) for the eight neighbours of (x, y) inside the picture.
    template <typename Fn> void ForNeighbours(int x, int y, Fn fn) const;
    uint8_t& MarkAt(int x, int y) const {
        return m_marks[size_t(y) * size_t(m_alpha.Width()) + size_t(x)];
    }
    // Raises the mark of (x, y) to at least value.
    void Mark(int x, int y, uint8_t value);
    // The mean colour of the grown pixels beside (x, y), if there are any.
    bool RimColourBeside(int x, int y, uint8_t colour[3]) const;
    void SettlePast(int x, int y);
    void LayOver(int x, int y, uint8_t mark);
    bool JoinsUnder(int x, int y) const;
    void SpreadUnder();
    // fn(x, y, mark) for each pixel marked but not grown, on threads.
    template <typename Fn> void ForMarked(unsigned threads, Fn fn);

    CDIB& m_image;
    CAlphaPlane& m_alpha;
    const CDIB* m_pSource;
    const CMaskDIB* m_pMask = nullptr;
    int m_nWidth = 0;
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<uint8_t[], Free> m_marks; // one per pixel; none for a hard edge
    std::unique_ptr<CRimCover> m_pCover;      // none for a hard edge
};

} // namespace pelto
