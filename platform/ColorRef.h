#pragma once
// A colour value in the 0x00BBGGRR layout: red in bits 0-7, green in 8-15,
// blue in 16-23; bits 24-31 carry nothing and are never read.

#include <cstdint>

namespace pelto {

using COLORREF = uint32_t;

constexpr COLORREF RGB(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr uint32_t GetRValue(COLORREF c) {
    return c & 0xFFu;
}
constexpr uint32_t GetGValue(COLORREF c) {
    return (c >> 8) & 0xFFu;
}
constexpr uint32_t GetBValue(COLORREF c) {
    return (c >> 16) & 0xFFu;
}

} // namespace pelto
