#pragma once
// A selection's marks one bit a pixel, 64 pixels to a word, by stored row,
// and from them the pixels that have one of the other kind within a reach:
// in the (2 reach + 1)² square about them, cut to the picture. Bit x % 64 of
// a row's word x / 64 is column x; the bits past the width are clear. Made
// on threads, the same for any count.

#include "image/Block.h"
#include "image/MaskDib.h"

#include <cstdint>
#include <vector>

namespace pelto {

class CSelectionBits {
public:
    // reach below 64; may throw std::bad_alloc.
    CSelectionBits(const CMaskDIB& selection, int reach, unsigned threads);

    int Words() const { return m_nWords; }
    const uint64_t* SelectedRow(int y) const { return Plane(kSelected, y); }
    const uint64_t* EdgeRow(int y) const { return Plane(kEdge, y); }
    bool Selected(int x, int y) const { return Bit(SelectedRow(y), x); }
    // Bit i: whether column x + i of row y is selected, or on the edge;
    // columns outside the picture are neither. x above -64.
    uint64_t SelectedFrom(int x, int y) const { return From(SelectedRow(y), x); }
    uint64_t EdgeFrom(int x, int y) const { return From(EdgeRow(y), x); }
    // How many pixels of rows first to last (one past) are on the edge.
    uint64_t EdgeCount(int first, int last) const;
    // The bytes one made for a selection of this size holds.
    static uint64_t Bytes(int width, int height);

private:
    enum Plane { kSelected, kEdge, kPlanes };

    static bool Bit(const uint64_t* row, int x) { return (row[x >> 6] >> (x & 63)) & 1; }
    uint64_t From(const uint64_t* row, int x) const {
        if (x < 0) return row[0] << -x;
        const int k = x >> 6, shift = x & 63;
        if (k >= m_nWords) return 0;
        uint64_t bits = row[k] >> shift;
        if (shift && k + 1 < m_nWords) bits |= row[k + 1] << (64 - shift);
        return bits;
    }
    uint64_t* Plane(int plane, int y) const {
        return reinterpret_cast<uint64_t*>(m_pBits.get()) +
               (size_t(plane) * size_t(m_nHeight) + size_t(y)) * size_t(m_nWords);
    }
    void PackRow(const CMaskDIB& selection, int y);
    // any and all: room for a row's words and one either side each.
    void EdgeOfRow(int y, uint64_t* any, uint64_t* all);

    const int m_nWidth, m_nHeight, m_nWords, m_nReach;
    block::Ptr m_pBits;
    std::vector<uint32_t> m_edgeCounts; // by row
};

} // namespace pelto
