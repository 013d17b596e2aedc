// Writes the PNG fuzz target's seed corpus: a few small files of each colour
// type and depth, with and without tRNS and interlace, from the tests'
// builder, and two from the encoder.
//   write_png_corpus DIR

#include "image/PngFile.h"
#include "support/PngBuilder.h"
#include "system/File.h"

#include <algorithm>
#include <iostream>
#include <string>

namespace pelto {

namespace {

void Write(const std::string& path, const Bytes& bytes) {
    WriteFileBytes(path, bytes);
    std::cout << path << "\n";
}

} // namespace

} // namespace pelto

int main(int argc, char** argv) {
    using namespace pelto;
    if (argc != 2) {
        std::cerr << "usage: write_png_corpus DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    struct Seed {
        uint8_t type, depth;
        bool trns, interlaced;
    };
    const Seed seeds[] = {{0, 1, false, false}, {0, 8, true, false},   {0, 16, false, true},
                          {2, 8, true, false},  {2, 16, false, false}, {2, 8, false, true},
                          {3, 2, true, false},  {3, 8, false, true},   {4, 8, false, false},
                          {4, 16, false, true}, {6, 8, false, false},  {6, 16, false, false}};
    for (const Seed& s : seeds) {
        const uint16_t top = uint16_t((1u << std::min<int>(s.depth, 16)) - 1);
        PngImage image{5, 3, s.depth, s.type, s.interlaced, [&](int x, int y, int c) {
                           return uint16_t((x * 5 + y * 3 + c) * 0x9E37u %
                                           (s.type == 3 ? 4u : top + 1u));
                       }};
        std::vector<Bytes> chunks;
        if (s.type == 3) chunks.push_back(PngChunk("PLTE", Bytes(12, 0x80)));
        if (s.trns)
            chunks.push_back(PngChunk("tRNS", s.type == 3   ? Bytes{0, 128}
                                              : s.type == 0 ? Bytes{0, 0}
                                                            : Bytes(6, 0)));
        Write(dir + "/type" + std::to_string(s.type) + "-depth" + std::to_string(s.depth) +
                  (s.trns ? "-trns" : "") + (s.interlaced ? "-adam7" : "") + ".png",
              MakePng(image, chunks));
    }
    CDIB picture;
    LoadBytes(picture, MakeBmp24(6, 4, [](int x, int y) { return RGB(x * 40, y * 60, 200); }));
    CAlphaPlane alpha(6, 4);
    alpha.SetAlpha(1, 2, 0);
    const CAlphaPlane* const planes[] = {nullptr, &alpha};
    for (const CAlphaPlane* plane : planes) {
        const std::string path = dir + (plane ? "/encoder-rgba.png" : "/encoder-rgb.png");
        CFile out(path, CFile::Mode::CreateWrite);
        png::Encode(picture, plane, out);
        std::cout << path << "\n";
    }
    return 0;
}
