#include "PictureFormat.h"

#include <algorithm>
#include <cctype>

namespace pelto {

PictureFormat FormatOfName(const std::string& path) {
    constexpr std::string_view kPng = ".png";
    if (path.size() < kPng.size()) return PictureFormat::Bmp;
    const bool png = std::equal(kPng.begin(), kPng.end(), path.end() - kPng.size(),
                                [](char a, char b) { return a == std::tolower(uint8_t(b)); });
    return png ? PictureFormat::Png : PictureFormat::Bmp;
}

} // namespace pelto
