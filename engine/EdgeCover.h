#pragma once
// How much of a pixel lies behind straight edges. The pixel is the unit
// square about its centre; an edge lies across a direction, at a distance s
// from the centre along it, the part behind it being the points q with
// q · n <= s for the unit vector n. Plain double arithmetic, never fused (see
// CMakeLists.txt), so every build gives the same bits.

namespace pelto {

// The direction (dx, dy) from a shape pixel's centre to another pixel's.
struct EdgeDirection {
    EdgeDirection(int dx, int dy);
    double r;      // its length
    double nx, ny; // the unit vector
    double u, v;   // its larger and smaller component, without the sign
};

// The part behind one edge.
double Cover(double s, const EdgeDirection& n);

// Where an edge across n lies that leaves a of the pixel behind it: Cover's inverse.
double EdgeAt(double a, const EdgeDirection& n);

// The part behind any of several edges, given one at a time.
class CEdgeUnion {
public:
    CEdgeUnion();
    void Add(double s, const EdgeDirection& n);
    bool Full() const { return m_nCorners == 0; }
    double Covered() const;

private:
    // What no edge covers yet: a convex polygon, the square cut by each edge.
    // One that would need more corners than there is room for is not cut.
    static constexpr int kMostCorners = 24;
    double m_x[kMostCorners], m_y[kMostCorners];
    int m_nCorners;
};

} // namespace pelto
