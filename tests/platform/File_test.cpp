#include "platform/Archive.h"
#include "platform/File.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
