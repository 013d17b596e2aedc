#include "platform/Archive.h"
#include "platform/File.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

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

} // namespace
