// libFuzzer entry point: every input is a file handed to the PNG decoder,
// with its chunks' CRCs made right first unless its last byte is odd, so
// that mutations reach past the CRC checks (which the tests cover) as often
// as they meet them. What decodes must be the header's size, carry an alpha
// plane where the file has an alpha channel, stay within the decode's
// footprint, and come back pixel for pixel (and opacity for opacity)
// through the encoder.

#include "RamDisk.h"

#include "image/PngFile.h"
#include "platform/ArchiveException.h"
#include "system/File.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <zlib.h>

namespace pelto {

namespace {

// The memory a caller could have: files that need more are refused before decoding.
constexpr uint64_t kMemory = uint64_t(256) << 20;

bool IsRefusal(const char* text) {
    for (const char* message : {CDIB::kMsgWrongFormat, png::kMsgDamaged, png::kMsgUnsupported,
                                png::kMsgTooLarge, png::kMsgTooMuchData})
        if (std::strcmp(text, message) == 0) return true;
    return false;
}

uint32_t ReadBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The chunks after the signature with each whole chunk's CRC recomputed.
std::vector<uint8_t> WithRightCrcs(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    for (size_t at = 8; at + 12 <= size && ReadBE32(&file[at]) <= size - at - 12;) {
        const size_t length = ReadBE32(&file[at]);
        const uint32_t crc = uint32_t(crc32(0, &file[at + 4], uInt(length + 4)));
        for (int i = 0; i < 4; ++i)
            file[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
        at += length + 12;
    }
    return file;
}

std::vector<uint8_t> EncodeAndRead(const CDIB& picture, const CAlphaPlane& alpha) {
    static const TempDir scratch(RamDisk());
    const std::string path = scratch.File("round-trip.png");
    {
        CFile out(path, CFile::Mode::CreateWrite);
        png::Encode(picture, &alpha, out);
    }
    return ReadFileBytes(path);
}

std::string Check(const uint8_t* data, size_t size) {
    CDIB picture;
    CAlphaPlane alpha;
    png::Header header{};
    uint64_t footprint = 0, peak = 0;
    try {
        header = png::ReadHeader(data, size);
        // What the walk finds of a tRNS in a file that decodes.
        const bool trns = png::TransparencyChunkAhead(data, size).value_or(true);
        footprint = png::DecodeFootprint(header, size, trns);
        if (footprint > kMemory) return "";
        png::Decode(data, size, picture, alpha, &peak);
    } catch (const CArchiveException& e) {
        return IsRefusal(e.what()) ? "" : std::string("unknown refusal: ") + e.what();
    }
    const int width = int(header.width), height = int(header.height);
    if (picture.m_nWidth != width || picture.m_nHeight != height) return "not the header's size";
    if (peak > footprint) return "held more than the footprint";
    if (header.colourType >= 4 && !alpha.HasBlock()) return "alpha channel without a plane";
    if (alpha.HasBlock() && (alpha.Width() != width || alpha.Height() != height))
        return "alpha plane not the picture's size";

    const std::vector<uint8_t> file = EncodeAndRead(picture, alpha);
    CDIB again;
    CAlphaPlane againAlpha;
    png::Decode(file.data(), file.size(), again, againAlpha);
    if (againAlpha.HasBlock() != alpha.HasTransparency()) return "opacity not written as it was";
    for (int y = 0; y < height; ++y) {
        if (std::memcmp(again.Row(y), picture.Row(y), size_t(width) * 3) != 0)
            return "pixels changed through the encoder";
        if (againAlpha.HasBlock() &&
            std::memcmp(againAlpha.Row(y), alpha.Row(y), size_t(width)) != 0)
            return "opacity changed through the encoder";
    }
    return "";
}

} // namespace

} // namespace pelto

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string broken;
    if (size > 0 && data[size - 1] % 2 == 0) {
        const std::vector<uint8_t> file = pelto::WithRightCrcs(data, size);
        broken = pelto::Check(file.data(), file.size());
    } else {
        broken = pelto::Check(data, size);
    }
    if (!broken.empty()) {
        std::fprintf(stderr, "broken promise: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
