#include "DocumentFile.h"

#include "DocMessages.h"
#include "platform/Archive.h"
#include "platform/ArchiveException.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

DocOpenResult OpenDocument(const std::string& path) {
    DocOpenResult result;
    try {
        CFile file(path, CFile::Mode::Read);
        auto doc = std::make_unique<CPeltoDoc>();
        if (file.GetLength() != 0) {
            CArchive ar(file, CArchive::load);
            doc->Serialize(ar);
        }
        result.doc = std::move(doc);
    } catch (const CArchiveException& e) {
        result.messages = {e.what(), docmsg::kUnexpectedFormat};
    } catch (const CFileException& e) {
        result.messages = {docmsg::CannotOpen(path, e.GetError())};
    } catch (const std::bad_alloc&) {
        result.messages = {docmsg::kOutOfMemory};
    }
    return result;
}

namespace {

// The file that will really be replaced: a link is followed to its target.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    return ec ? fs::absolute(path, ec) : real;
}

fs::path TemporaryBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    // The name is cut so that a target name of any legal length leaves room for the suffix.
    const std::string name = target.filename().string().substr(0, 200);
    return target.parent_path() / ("." + name + ".pelto-" + std::to_string(::getpid()) + "-" +
                                   std::to_string(counter++) + ".tmp");
}

void Store(CPeltoDoc& doc, CFile& file) {
    CArchive ar(file, CArchive::store);
    doc.Serialize(ar);
}

} // namespace

std::string SaveDocument(CPeltoDoc& doc, const std::string& path) {
    const fs::path target = ResolveTarget(path);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) return docmsg::CannotSave(path, EISDIR);

    try {
        if (replacing && !S_ISREG(old.st_mode)) {
            // A device or a pipe is written in place: renaming over it would replace the node.
            CFile file(target.string(), CFile::Mode::CreateWrite);
            Store(doc, file);
            file.Close();
            return {};
        }
        const fs::path temporary = TemporaryBeside(target);
        CFile file(temporary.string(), CFile::Mode::CreateNew);
        try {
            if (replacing) file.SetMode(old.st_mode & 07777);
            Store(doc, file);
            file.Sync();
            file.Close();
        } catch (...) {
            std::remove(temporary.c_str());
            throw;
        }
        if (std::rename(temporary.c_str(), target.c_str()) != 0) {
            const int error = errno;
            std::remove(temporary.c_str());
            return docmsg::CannotSave(path, error);
        }
    } catch (const CFileException& e) {
        return docmsg::CannotSave(path, e.GetError());
    }
    return {};
}
