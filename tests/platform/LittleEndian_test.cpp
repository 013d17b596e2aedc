#include "platform/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>

namespace pelto {

namespace {

struct FieldCase {
    std::array<uint8_t, 4> bytes;
    uint16_t low16;
    uint32_t all32;
};

class LittleEndianField : public testing::TestWithParam<FieldCase> {};

TEST_P(LittleEndianField, ReadsLowByteFirstAndWritesItBack) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(ReadLE16(c.bytes.data()), c.low16);
    EXPECT_EQ(ReadLE32(c.bytes.data()), c.all32);
    std::array<uint8_t, 4> written{};
    WriteLE32(written.data(), c.all32);
    EXPECT_EQ(written, c.bytes);
    WriteLE16(written.data(), 0xBEEF);
    EXPECT_EQ(ReadLE32(written.data()), (c.all32 & 0xFFFF0000u) | 0xBEEFu) << "upper bytes kept";
}

INSTANTIATE_TEST_SUITE_P(Fields, LittleEndianField,
                         testing::Values(FieldCase{{0x42, 0x4D, 0x36, 0x00}, 0x4D42, 0x00364D42},
                                         FieldCase{{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFF, 0xFFFFFFFF},
                                         FieldCase{{0x00, 0x00, 0x00, 0x80}, 0x0000, 0x80000000},
                                         FieldCase{{0x78, 0x56, 0x34, 0x12}, 0x5678, 0x12345678}));

} // namespace

} // namespace pelto
