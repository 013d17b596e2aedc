#pragma once
// The two kinds of picture file: a document remembers which it came from and
// is saved as that kind unless told otherwise.

#include <string>

namespace pelto {

enum class PictureFormat { Bmp, Png };

// PNG for a name ending in ".png" in any case, BMP for any other.
PictureFormat FormatOfName(const std::string& path);

} // namespace pelto
