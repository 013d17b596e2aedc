#pragma once
// The engine's rasters work pixel for pixel together, so the ones handed to
// one operation must have one size. A caller that hands others gets this
// refusal before anything changes.

#include <stdexcept>

namespace pelto {

template <class First, class Second>
void RequireSameSize(const First& first, const Second& second, const char* what) {
    if (first.m_nWidth != second.m_nWidth || first.m_nHeight != second.m_nHeight)
        throw std::invalid_argument(what);
}

} // namespace pelto
