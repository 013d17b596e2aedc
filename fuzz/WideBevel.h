#pragma once
// Builds a picture and a selection mask from arbitrary bytes, up to 4096
// pixels wide, and checks the fast bevel against the plain point-by-point one
// byte for byte: every found point (searched in segments of a width the bytes
// choose), the heights and the shaded picture, for the thread count the bytes
// choose. Then it makes the button through the document with an allocation
// failing and saves it with a failing disk, both where the bytes say, and
// checks that nothing was lost. Returns "" when every promise held,
// otherwise what broke. Memory errors are the sanitizers' to report.
//
// Layout: bytes 0-1 width, 2 height, 3 band width, 4 flags (outline, shape,
// mask kind, threads), 5-6 angle, 7-8 contrast, 9 segment width, 10 failing
// allocation, 11-12 disk fault, 13 hard links of the saved-over file; the
// rest fills the mask and the colours. The picture is made smaller until
// the brute force costs at most kBudget mask reads (2^15), so each run stays quick.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelto {

std::string RunWideBevel(const uint8_t* data, size_t size);

} // namespace pelto
