#include "platform/Archive.h"
#include "support/TempDir.h"
#include "system/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pelto {

namespace {

TEST(CFile, WritesAndReadsBackTheSameBytes) {
    TempDir dir;
    const std::string path = dir.File("a.bin");
    const std::string data = "BM\x01\x02 bytes";
    {
        CFile out(path, CFile::Mode::CreateWrite);
        CArchive ar(out, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        ar.GetFile()->Write(data.data(), data.size());
        out.Close();
    }
    CFile in(path, CFile::Mode::Read);
    ASSERT_EQ(in.GetLength(), data.size());
    std::string back(data.size() + 4, '\0');
    EXPECT_EQ(in.Read(back.data(), back.size()), data.size()); // short read at end of file
    EXPECT_EQ(back.substr(0, data.size()), data);
}

// Big reads go in parts at once, and big writes at offsets: the same bytes
// from anywhere in the file, a short read where it ends, the position after
// what Read read.
TEST(CFile, BigReadsAndWritesAtOffsetsKeepEveryByte) {
    TempDir dir;
    const std::string path = dir.File("big.bin");
    std::vector<char> data(size_t(9) << 20);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 2654435761u >> 13);
    {
        CFile out(path, CFile::Mode::CreateWrite);
        out.WriteBehind();
        const size_t half = data.size() / 2;
        out.WriteAt(data.data() + half, data.size() - half, half);
        out.WriteAt(data.data(), half, 0);
        out.Sync();
        out.Close();
    }
    CFile in(path, CFile::Mode::Read);
    struct Case {
        uint64_t at, count, expected;
    };
    const uint64_t size = data.size();
    for (const Case c :
         {Case{0, size, size}, Case{7, size - 7, size - 7}, Case{1000, size, size - 1000},
          Case{size - (5 << 20), 6 << 20, 5 << 20}, Case{size, 5 << 20, 0}}) {
        std::vector<char> back(c.count, 0);
        EXPECT_EQ(in.ReadAt(back.data(), c.count, c.at), c.expected) << c.at;
        EXPECT_TRUE(std::equal(back.begin(), back.begin() + c.expected, data.begin() + c.at))
            << c.at;
        in.Seek(c.at);
        std::fill(back.begin(), back.end(), 0);
        EXPECT_EQ(in.Read(back.data(), c.count), c.expected) << c.at;
        EXPECT_TRUE(std::equal(back.begin(), back.begin() + c.expected, data.begin() + c.at))
            << c.at;
        EXPECT_EQ(in.GetPosition(), c.at + c.expected) << c.at;
    }
}

TEST(CFile, ReportsTheSystemErrorOfAFailedOpen) {
    TempDir dir;
    struct Case {
        std::string path;
        CFile::Mode mode;
        int error;
    } cases[] = {
        {dir.File("missing.bmp"), CFile::Mode::Read, ENOENT},
        {dir.Path(), CFile::Mode::Read, EISDIR},
        {dir.File("no/such/dir.bmp"), CFile::Mode::CreateWrite, ENOENT},
    };
    for (const Case& c : cases) {
        try {
            CFile file(c.path, c.mode);
            ADD_FAILURE() << c.path << " opened";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetError(), c.error) << c.path;
        }
    }
}

TEST(CFile, CreateNewRefusesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.File("taken");
    { CFile first(path, CFile::Mode::CreateNew); }
    EXPECT_THROW(CFile(path, CFile::Mode::CreateNew), CFileException);
}

// As cat does, ReadWaiting waits for a FIFO's writer however late it comes.
TEST(CFile, ReadWaitingWaitsForTheWriterOfAFifo) {
    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::atomic<bool> opened{false};
    std::string got(5, '\0');
    std::thread reader([&] {
        CFile in(fifo, CFile::Mode::ReadWaiting);
        opened = true;
        got.resize(in.Read(got.data(), got.size()));
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(opened); // still waiting: no writer yet
    {
        CFile out(fifo, CFile::Mode::WriteInPlace);
        out.Write("late", 4);
    }
    reader.join();
    EXPECT_EQ(got, "late");
}

// Writing never waits for a reader that is not there, nor dies of one that left.
TEST(CFile, PipesWithoutAReaderFailInsteadOfWaitingOrSignalling) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    try {
        CFile fifo(dir.File("fifo"), CFile::Mode::WriteInPlace);
        ADD_FAILURE() << "opened a FIFO nobody reads";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetError(), ENXIO);
    }

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    CFile out("/proc/self/fd/" + std::to_string(ends[1]), CFile::Mode::WriteInPlace);
    ::close(ends[1]);
    try {
        out.Write("BM", 2);
        ADD_FAILURE() << "wrote to a pipe nobody reads";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetError(), EPIPE);
    }
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE));
}

} // namespace

} // namespace pelto
