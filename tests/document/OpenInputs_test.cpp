// Pictures that arrive through a pipe or a FIFO are read to their end and
// checked like files; a folder is reported as something that cannot be read.

#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "document/InputStream.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pelto {

namespace {

struct Input {
    const char* name;
    Bytes bytes;
};
void PrintTo(const Input& input, std::ostream* out) {
    *out << input.name;
}

Bytes Edited(Bytes b, size_t offset, uint16_t value) {
    PutU16(b, offset, value);
    return b;
}

Bytes Cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}

// A writer whose reader has gone is told so by EPIPE; the signal dies with its thread.
void BlockBrokenPipeSignal() {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
}

Bytes Good() {
    return MakeBmp24(300, 200, [](int x, int y) { return RGB(x, y, x ^ y); }, {12, 40});
}

// A file and the same bytes through a pipe open alike: the same picture, or
// the same messages. Pipes hold 64 KB, so the bigger inputs come in pieces.
class OpenThroughAPipe : public ::testing::TestWithParam<Input> {};

TEST_P(OpenThroughAPipe, GivesWhatTheFileGives) {
    const Bytes& bytes = GetParam().bytes;
    TempDir dir;
    WriteFileBytes(dir.File("file.bmp"), bytes);
    const DocOpenResult fromFile = OpenDocument(dir.File("file.bmp"));

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::thread writer([&] {
        BlockBrokenPipeSignal();
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(ends[1], bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        ::close(ends[1]);
    });
    const DocOpenResult fromPipe = OpenDocument("/proc/self/fd/" + std::to_string(ends[0]));
    ::close(ends[0]); // a writer the open stopped reading is told so
    writer.join();

    ASSERT_EQ(bool(fromPipe.doc), bool(fromFile.doc)) << testing::PrintToString(fromPipe.messages);
    EXPECT_EQ(fromPipe.messages, fromFile.messages);
    if (fromFile.doc) {
        ASSERT_EQ(fromPipe.doc->Picture().HasBlock(), fromFile.doc->Picture().HasBlock());
        if (fromFile.doc->Picture().HasBlock()) {
            EXPECT_EQ(fromPipe.doc->Picture().m_nFileSize, bytes.size());
            EXPECT_EQ(0, std::memcmp(fromPipe.doc->Picture().m_pFileImage.get(), bytes.data(),
                                     bytes.size()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenThroughAPipe,
                         ::testing::Values(Input{"Picture", Good()}, Input{"Empty", {}},
                                           Input{"OneByte", {'B'}},
                                           Input{"HeadersOnly", Cut(Good(), 54)},
                                           Input{"CutShort", Cut(Good(), Good().size() - 41)},
                                           Input{"LongNotABmp", Bytes(300000, 'x')},
                                           Input{"LongEightBit", Edited(Good(), 28, 8)},
                                           Input{"LongCompressed", Edited(Good(), 30, 1)}),
                         [](const auto& c) { return std::string(c.param.name); });

// A FIFO opens at once; a writer that comes a little later is waited for.
TEST(OpenAFifo, WaitsAMomentForItsWriter) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Bytes bytes = Good();
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        WriteFileBytes(fifo, bytes);
    });
    const DocOpenResult r = OpenDocument(fifo);
    writer.join();
    ASSERT_TRUE(r.doc) << testing::PrintToString(r.messages);
    EXPECT_EQ(r.doc->Picture().m_nFileSize, bytes.size());
}

// Past the limit a stream is refused like a file that long, kept or not.
TEST(ReadStream, StopsOneBytePastTheLimit) {
    for (const Bytes& bytes : {Good(), Edited(Good(), 28, 8)}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        std::thread writer([&] {
            WriteFileBytes("/proc/self/fd/" + std::to_string(ends[1]), bytes);
            ::close(ends[1]);
        });
        CFile input("/proc/self/fd/" + std::to_string(ends[0]), CFile::Mode::Read);
        const uint64_t limit = bytes.size() - 100;
        bool admitted = false;
        const StreamedInput in = ReadStream(
            input, [&](const uint8_t*, uint64_t, uint64_t) { admitted = true; }, limit);
        ::close(ends[0]);
        writer.join();
        EXPECT_EQ(in.size, limit + 1);
        EXPECT_EQ(in.kept, bytes[28] == 24);
        EXPECT_EQ(admitted, bytes[28] == 24);
    }
}

// Neither a BMP nor a PNG, whatever follows: the first bytes settle it, and
// the writer, which writes until its reader has gone, is never read on.
class EndlessNonPicture : public ::testing::TestWithParam<Input> {};

TEST_P(EndlessNonPicture, IsRefusedOnItsFirstBytesAsAFileOfThemIs) {
    const Bytes& pattern = GetParam().bytes;
    TempDir dir;
    WriteFileBytes(dir.File("start"), pattern);
    const DocOpenResult fromFile = OpenDocument(dir.File("start"));

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::atomic<uint64_t> written{0};
    std::thread writer([&] {
        BlockBrokenPipeSignal();
        for (ssize_t n; (n = ::write(ends[1], pattern.data(), pattern.size())) > 0;)
            written += uint64_t(n);
        ::close(ends[1]);
    });
    const DocOpenResult fromPipe = OpenDocument("/proc/self/fd/" + std::to_string(ends[0]));
    ::close(ends[0]);
    writer.join();

    EXPECT_FALSE(fromPipe.doc);
    EXPECT_EQ(fromPipe.messages, fromFile.messages);
    ASSERT_EQ(fromPipe.messages.size(), 2u);
    EXPECT_EQ(fromPipe.messages[1], docmsg::Text(docmsg::kUnexpectedFormat));
    // The pipe's buffer and a read or two, not the 4 GiB a BMP may hold.
    EXPECT_LT(written.load(), uint64_t(4) << 20);
}

Bytes RandomBytes() {
    Bytes bytes(1 << 16);
    uint32_t state = 12345;
    for (uint8_t& b : bytes)
        b = uint8_t((state = state * 1103515245 + 12345) >> 24);
    return bytes;
}

Bytes Repeated(const std::string& text, size_t times) {
    Bytes bytes;
    for (size_t i = 0; i < times; ++i)
        bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EndlessNonPicture,
    ::testing::Values(Input{"RandomBytes", RandomBytes()}, Input{"Yes", Repeated("y\n", 1 << 15)},
                      Input{"PngSignatureCutShort", Repeated("\x89PNG", 100)},
                      Input{"BmpHeadersPointingInsideThemselves", Edited(Good(), 10, 20)}),
    [](const auto& c) { return std::string(c.param.name); });

// Bytes past the pixel array are kept, so an input that never ends is held
// to the memory check each time its block grows, and stops at the first refusal.
TEST(ReadStream, HoldsAnEndlessInputToTheMemoryCheck) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::thread writer([&] {
        BlockBrokenPipeSignal();
        const Bytes headers = Cut(Good(), 54);
        const Bytes zeros(1 << 16, 0);
        if (::write(ends[1], headers.data(), headers.size()) < 0) return;
        while (::write(ends[1], zeros.data(), zeros.size()) > 0) {
        }
        ::close(ends[1]);
    });
    std::vector<uint64_t> asked;
    {
        CFile input("/proc/self/fd/" + std::to_string(ends[0]), CFile::Mode::Read);
        ::close(ends[0]);
        constexpr uint64_t kRoom = uint64_t(8) << 20;
        EXPECT_THROW(ReadStream(input,
                                [&](const uint8_t*, uint64_t, uint64_t size) {
                                    asked.push_back(size);
                                    if (size > kRoom) throw std::bad_alloc();
                                }),
                     std::bad_alloc);
    }
    writer.join(); // its reader gone, the writer stops
    ASSERT_GE(asked.size(), 3u);
    EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
    EXPECT_LE(asked[asked.size() - 2], uint64_t(8) << 20);
}

TEST(OpenDocument, AFolderIsNotAPictureToRead) {
    TempDir dir;
    const DocOpenResult r = OpenDocument(dir.Path());
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("フォルダは画像として開けません。"), std::string::npos);
    EXPECT_EQ(r.messages[0].find("保存"), std::string::npos);
    EXPECT_EQ(r.messages[0].find("元のファイル"), std::string::npos);
}

} // namespace

} // namespace pelto
