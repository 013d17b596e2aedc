#pragma once
// The PNG benchmarks' command-line helpers, for bench/png-size.sh.

#include <string>

namespace pelto {

// Writes the logo and the noisy picture at 1024², 2048² and 4096² as BMP files.
int WritePngPictures(const std::string& folder);
// Converts a BMP file to PNG with the program's encoder.
int BmpToPng(const std::string& in, const std::string& out);

} // namespace pelto
