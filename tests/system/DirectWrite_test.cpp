// An image written past the system's cache as its parts are told final, in
// any order, from any threads: the file holds the image whole, whatever was
// told, and a failing disk ends Finish with its error.

#include "system/DirectWrite.h"

#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace pelto {

namespace {

struct FreeBlock {
    void operator()(uint8_t* p) const { std::free(p); }
};
using Image = std::unique_ptr<uint8_t[], FreeBlock>;

Image RandomImage(uint64_t size, std::mt19937& rng) {
    Image image(static_cast<uint8_t*>(
        std::aligned_alloc(CFile::kDirectAlignment, (size + 4095) / 4096 * 4096)));
    for (uint64_t i = 0; i < size; ++i)
        image[i] = uint8_t(rng());
    return image;
}

// Bytes [0, size) cut at random and told from three threads in random order;
// `told` of the pieces only.
void TellRandomly(CDirectWriter& writer, uint64_t size, double told, std::mt19937& rng) {
    std::vector<std::pair<uint64_t, uint64_t>> pieces;
    for (uint64_t at = 0; at < size;) {
        const uint64_t next = std::min(size, at + 1 + rng() % 700000);
        if (std::uniform_real_distribution<double>(0, 1)(rng) < told) pieces.emplace_back(at, next);
        at = next;
    }
    std::shuffle(pieces.begin(), pieces.end(), rng);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (size_t i = t; i < pieces.size(); i += 3)
                writer.Final(pieces[i].first, pieces[i].second);
        });
    for (std::thread& thread : threads)
        thread.join();
}

TEST(DirectWriter, WritesTheWholeImageWhateverWasTold) {
    std::mt19937 rng(8);
    TempDir dir;
    for (const uint64_t size : {uint64_t(3) << 20, (uint64_t(5) << 20) + 54, uint64_t(2100000)})
        for (double told : {1.0, 0.6, 0.0}) {
            const Image image = RandomImage(size, rng);
            ASSERT_TRUE(CDirectWriter::Suits(image.get(), size));
            CFile file(dir.File("out"), CFile::Mode::CreateWrite);
            {
                CDirectWriter writer(file, image.get(), size);
                TellRandomly(writer, size, told, rng);
                writer.Finish();
            }
            file.Sync();
            file.Close();
            const Bytes written = ReadFileBytes(dir.File("out"));
            EXPECT_TRUE(written == Bytes(image.get(), image.get() + size)) << size << " " << told;
        }
}

TEST(DirectWriter, SuitsOnlyLargeAlignedImages) {
    std::mt19937 rng(9);
    const Image image = RandomImage(uint64_t(3) << 20, rng);
    EXPECT_TRUE(CDirectWriter::Suits(image.get(), uint64_t(3) << 20));
    EXPECT_FALSE(CDirectWriter::Suits(image.get() + 1, uint64_t(3) << 20));
    EXPECT_FALSE(CDirectWriter::Suits(image.get(), 100000));
}

TEST(DirectWriter, AFailingDiskEndsFinishWithItsError) {
    std::mt19937 rng(10);
    TempDir dir;
    const uint64_t size = uint64_t(4) << 20;
    const Image image = RandomImage(size, rng);
    for (const uint64_t budget : {uint64_t(0), uint64_t(1) << 20, size - 10}) {
        CFile file(dir.File("out"), CFile::Mode::CreateWrite);
        faults::FailWritesAfter(EIO, budget);
        int error = 0;
        try {
            CDirectWriter writer(file, image.get(), size);
            TellRandomly(writer, size, 1.0, rng);
            writer.Finish();
        } catch (const CFileException& e) {
            error = e.GetError();
        }
        faults::FailWritesAfter(0);
        EXPECT_EQ(error, EIO) << budget;
    }
}

} // namespace

} // namespace pelto
