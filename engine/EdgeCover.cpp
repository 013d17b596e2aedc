#include "EdgeCover.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pelto {

EdgeDirection::EdgeDirection(int dx, int dy)
    : r(std::sqrt(double(dx * dx + dy * dy))), nx(dx / r), ny(dy / r),
      u(std::max(std::abs(dx), std::abs(dy)) / r), v(std::min(std::abs(dx), std::abs(dy)) / r) {}

double Cover(double s, const EdgeDirection& n) {
    const double h = (n.u + n.v) / 2, k = (n.u - n.v) / 2;
    if (s >= h) return 1;
    if (s <= -h) return 0;
    if (std::fabs(s) <= k) return 0.5 + s / n.u;
    // Past k the edge cuts a corner off: a triangle, and then v > 0.
    const double corner = 2 * n.u * n.v;
    return s > 0 ? 1 - (h - s) * (h - s) / corner : (h + s) * (h + s) / corner;
}

double EdgeAt(double a, const EdgeDirection& n) {
    if (std::fabs(a - 0.5) * 2 * n.u <= n.u - n.v) return (a - 0.5) * n.u;
    const double corner = 2 * n.u * n.v, h = (n.u + n.v) / 2;
    return a > 0.5 ? h - std::sqrt(corner * (1 - a)) : std::sqrt(corner * a) - h;
}

CEdgeUnion::CEdgeUnion() : m_nCorners(4) {
    constexpr double kX[] = {-0.5, 0.5, 0.5, -0.5}, kY[] = {-0.5, -0.5, 0.5, 0.5};
    std::copy(kX, kX + 4, m_x);
    std::copy(kY, kY + 4, m_y);
}

void CEdgeUnion::Add(double s, const EdgeDirection& n) {
    const double h = (n.u + n.v) / 2;
    if (s <= -h || Full()) return;
    if (s >= h) {
        m_nCorners = 0;
        return;
    }
    double x[kMostCorners], y[kMostCorners];
    int count = 0;
    for (int i = 0; i < m_nCorners; ++i) {
        const int j = i + 1 == m_nCorners ? 0 : i + 1;
        // How far each end lies in front of the edge, where nothing covers it.
        const double from = m_x[i] * n.nx + m_y[i] * n.ny - s;
        const double to = m_x[j] * n.nx + m_y[j] * n.ny - s;
        if (count + 2 > kMostCorners) return;
        if (from > 0) {
            x[count] = m_x[i];
            y[count++] = m_y[i];
        }
        if ((from > 0) != (to > 0)) {
            const double t = from / (from - to);
            x[count] = m_x[i] + (m_x[j] - m_x[i]) * t;
            y[count++] = m_y[i] + (m_y[j] - m_y[i]) * t;
        }
    }
    m_nCorners = count < 3 ? 0 : count;
    std::copy(x, x + m_nCorners, m_x);
    std::copy(y, y + m_nCorners, m_y);
}

double CEdgeUnion::Covered() const {
    double twice = 0;
    for (int i = 0; i < m_nCorners; ++i) {
        const int j = i + 1 == m_nCorners ? 0 : i + 1;
        twice += m_x[i] * m_y[j] - m_x[j] * m_y[i];
    }
    return 1 - twice / 2;
}

} // namespace pelto
