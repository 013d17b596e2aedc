// The run's memory estimate against the rasters really allocated, its bounds
// for every shape, and the index arithmetic at the largest pictures the
// loader accepts, worked out without allocating them.

#include "engine/NearestSearch.h"
#include "engine/ParallelRows.h"
#include "engine/RunFootprint.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"
#include "image/RasterIndex.h"
#include "platform/BmpLayout.h"
#include "system/MemoryLimit.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

namespace pelto {

namespace {

struct Shape {
    int32_t width, height;
};

class FootprintOfRasters : public ::testing::TestWithParam<Shape> {};

TEST_P(FootprintOfRasters, CountsWhatTheRastersAllocate) {
    const Shape s = GetParam();
    const uint64_t file = bmp::kHeadersSize + CDIB::Stride24(s.width) * uint64_t(s.height);
    const RunFootprint f = EstimateRunFootprint(s.width, s.height, file, 5, true, 2);
    EXPECT_EQ(f.mask, CMaskDIB(s.width, s.height).m_nFileSize);
    EXPECT_EQ(f.heights, CHeightDIB(s.width, s.height).m_nFileSize);
    EXPECT_EQ(f.snapshot, file);
    EXPECT_EQ(f.Total(), f.picture + f.mask + f.heights + f.snapshot + f.search + f.mapping);
    // Small rasters need no alignment; the caller's thread takes the first band itself.
    EXPECT_EQ(f.mapping, (BandCount(s.height, 2) - 1) * memlimit::ThreadStackBytes());
    EXPECT_EQ(EstimateRunFootprint(s.width, s.height, file, 5, false, 2).snapshot, 0u);
    EXPECT_EQ(EstimateRunFootprint(s.width, s.height, file, 0, false, 2).search, 0u);
}

INSTANTIATE_TEST_SUITE_P(Shapes, FootprintOfRasters,
                         ::testing::Values(Shape{1, 1}, Shape{1, 300}, Shape{5, 3}, Shape{300, 1},
                                           Shape{123, 77}));

struct Bound {
    Shape shape;
    double mostTimesTheFile; // the whole batch run, without a snapshot
};

class FootprintBound : public ::testing::TestWithParam<Bound> {};

// The search's scratch is bounded by the picture whatever its shape; a batch
// run then stays within 2.1 times the file for squares and rows, and within
// 3 (and their headers) for a single column, whose rasters pad each
// one-pixel row to 4 bytes.
TEST_P(FootprintBound, StaysWithinItsShareOfTheFile) {
    const Shape s = GetParam().shape;
    const uint64_t file = bmp::kHeadersSize + CDIB::Stride24(s.width) * uint64_t(s.height);
    for (unsigned threads : {1u, 2u, 16u})
        for (int width : {1, 30, 254}) {
            const RunFootprint f =
                EstimateRunFootprint(s.width, s.height, file, width, false, threads);
            EXPECT_LE(f.search, file / 16 + (uint64_t(threads) << 22))
                << s.width << "x" << s.height << " width " << width << " threads " << threads;
            EXPECT_LE(double(f.Total() - f.search - f.mapping),
                      GetParam().mostTimesTheFile * double(file));
        }
}

INSTANTIATE_TEST_SUITE_P(Shapes, FootprintBound,
                         ::testing::Values(Bound{{4096, 4096}, 2.01}, Bound{{6000000, 1}, 2.01},
                                           Bound{{1, 6000000}, 3.001}, Bound{{100000, 60}, 2.01},
                                           Bound{{60, 100000}, 2.1}));

// The largest widths and heights whose file fits the loader's 32-bit sizes.
struct Largest {
    const char* name;
    Shape shape;
};

uint8_t* Headers(uint8_t* headers, Shape s) {
    bmp::WriteBuiltHeaders(headers, 0, bmp::kHeadersSize, s.width, s.height, 24, 0);
    return headers;
}

uint64_t FileSize(Shape s) {
    return bmp::kHeadersSize + CDIB::Stride24(s.width) * uint64_t(s.height);
}

class LargestPicture : public ::testing::TestWithParam<Largest> {};

TEST_P(LargestPicture, IsLoadableAndEveryOffsetFitsItsBlock) {
    const Shape s = GetParam().shape;
    uint8_t headers[bmp::kHeadersSize];
    ASSERT_EQ(CDIB::Refusal(Headers(headers, s), FileSize(s)), nullptr);
    const Shape wider{s.width + 1, s.height}, higher{s.width, s.height + 1};
    EXPECT_NE(CDIB::Refusal(Headers(headers, wider), FileSize(wider)), nullptr);
    EXPECT_NE(CDIB::Refusal(Headers(headers, higher), FileSize(higher)), nullptr);

    // The last pixel of each raster, in 64-bit arithmetic, lies inside its
    // block; a raster whose block would pass the 32-bit sizes is refused
    // before anything is allocated (a mask one pixel wide and a billion high).
    const int x = s.width - 1, y = s.height - 1;
    const RunFootprint f = EstimateRunFootprint(s.width, s.height, FileSize(s), 30, true, 2);
    struct Raster {
        unsigned bytesPerPixel;
        uint64_t offBits, blockSize;
        std::function<void()> build;
    } rasters[] = {{3, bmp::kHeadersSize, FileSize(s), nullptr},
                   {1, CMaskDIB::kOffBits, f.mask, [&] { CMaskDIB(s.width, s.height); }},
                   {2, bmp::kHeadersSize, f.heights, [&] { CHeightDIB(s.width, s.height); }}};
    for (const Raster& r : rasters) {
        if (r.blockSize > UINT32_MAX) {
            EXPECT_THROW(r.build(), std::bad_alloc);
            continue;
        }
        const uint64_t stride = (uint64_t(s.width) * r.bytesPerPixel + 3) / 4 * 4;
        const size_t offset = raster::Offset(x, y, stride, r.bytesPerPixel);
        EXPECT_EQ(offset, uint64_t(y) * stride + uint64_t(x) * r.bytesPerPixel);
        EXPECT_LE(r.offBits + offset + r.bytesPerPixel, r.blockSize);
    }
    EXPECT_GE(f.Total(), f.picture + f.snapshot + f.mask + f.heights); // no wrap-around
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargestPicture,
                         ::testing::Values(Largest{"OneRow", {1431655746, 1}},
                                           Largest{"OneColumn", {1, 1073741810}},
                                           Largest{"Square", {37837, 37837}}),
                         [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
