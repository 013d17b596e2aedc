#include "HeightDib.h"

namespace pelto {

namespace {

struct Neighbour {
    int dx;
    int dy;
    int weight;
};

constexpr Neighbour kNeighbours[] = {
    {0, -1, 5},  {0, 1, 5},  {-1, 0, 5}, {1, 0, 5},                         // direct
    {-1, -1, 4}, {1, -1, 4}, {-1, 1, 4}, {1, 1, 4},                         // diagonal
    {-1, -2, 4}, {0, -2, 4}, {1, -2, 4}, {-1, 2, 4}, {0, 2, 4},  {1, 2, 4}, // rows +-2
    {-2, -1, 4}, {2, -1, 4}, {-2, 0, 4}, {2, 0, 4},  {-2, 1, 4}, {2, 1, 4}, // columns +-2
};

} // namespace

CHeightDIB::CHeightDIB(int width, int height)
    : m_pBits(BuildRaster(width, height, 16, 0)), m_nStride(RasterStride(width, 16)) {}

CHeightDIB::CHeightDIB(int width, int height, Unfilled)
    : m_pBits(BuildRaster(width, height, 16, 0, false)), m_nStride(RasterStride(width, 16)) {}

int CHeightDIB::GetAverageHeight(CPoint point) const {
    int sum = 6 * GetHeight(point);
    int weight = 6;
    for (const Neighbour& n : kNeighbours) {
        const int h = GetHeight(CPoint(point.x + n.dx, point.y + n.dy));
        if (h != 0) {
            sum += n.weight * h;
            weight += n.weight;
        }
    }
    return sum / weight;
}

} // namespace pelto
