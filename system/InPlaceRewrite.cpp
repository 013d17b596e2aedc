#include "InPlaceRewrite.h"

#include "SignalCleanup.h"
#include "TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace pelto {

namespace {

constexpr uint64_t kBufferBytes = uint64_t(1) << 20;

std::vector<uint8_t> Buffer(uint64_t length) {
    return std::vector<uint8_t>(size_t(std::clamp<uint64_t>(length, 1, kBufferBytes)));
}

// length bytes of from, from its start, written to `to` where it stands.
void CopyContent(CFile& from, CFile& to, uint64_t length) {
    std::vector<uint8_t> buffer = Buffer(length);
    for (uint64_t done = 0; done < length;) {
        const uint64_t n =
            from.ReadAt(buffer.data(), std::min<uint64_t>(buffer.size(), length - done), done);
        if (n == 0) throw CFileException(EIO, from.GetFilePath(), "read"); // cut short meanwhile
        to.Write(buffer.data(), n);
        done += n;
    }
}

// The copy must hold exactly the old content before the old file is touched.
void VerifyCopy(CFile& original, CFile& copy, uint64_t length) {
    copy.Sync();
    if (copy.GetLength() != length) throw CFileException(EIO, copy.GetFilePath(), "copy");
    std::vector<uint8_t> a = Buffer(length), b = Buffer(length);
    for (uint64_t done = 0; done < length;) {
        const uint64_t want = std::min<uint64_t>(a.size(), length - done);
        if (original.ReadAt(a.data(), want, done) != want ||
            copy.ReadAt(b.data(), want, done) != want || std::memcmp(a.data(), b.data(), want) != 0)
            throw CFileException(EIO, copy.GetFilePath(), "copy");
        done += want;
    }
}

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

// In the target's folder, unless that folder takes no new file (a
// descriptor's folder of /proc never does).
void CreateCopy(std::optional<CTemporaryFile>& copy, std::optional<CFolder>& elsewhere,
                const WriteTarget& target) {
    if (!target.folder.IsProcess()) {
        try {
            copy.emplace(target.folder, target.name);
            return;
        } catch (const CFileException& e) {
            if (e.GetError() != EACCES && e.GetError() != EPERM && e.GetError() != EROFS) throw;
        }
    }
    elsewhere.emplace(CFolder::Open(TemporaryFolder()));
    copy.emplace(*elsewhere, target.name);
}

} // namespace

void RewriteInPlace(const WriteTarget& target, const std::function<void(CFile&)>& write,
                    SaveOutcome& outcome) {
    CFile original(target.folder, target.name, CFile::Mode::Read);
    const uint64_t length = original.GetLength();
    std::optional<CFolder> elsewhere;
    std::optional<CTemporaryFile> copy;
    CreateCopy(copy, elsewhere, target);
    // Whoever may read the old file, only the saver reads its copy.
    copy->File().SetMode(0600);
    CopyContent(original, copy->File(), length);
    VerifyCopy(original, copy->File(), length);

    CFile out(target.folder, target.name, CFile::Mode::WriteInPlace);
    const signalcleanup::CDeferredSignals deferred;
    // Until the new content is synced the old one has a name on disk, so even
    // kill -9 or a power cut leaves it; it goes once the file is whole.
    const std::string backup = copy->Publish();
    try {
        write(out);
        out.SetLength(out.GetPosition());
        out.Sync();
        out.Close();
        return;
    } catch (const CFileException& e) {
        outcome.error = e.GetError();
    }
    try {
        out.Seek(0);
        CopyContent(copy->File(), out, length);
        out.SetLength(length);
        out.Sync();
    } catch (const CFileException&) {
        outcome.originalKept = false;
        copy->Keep();
        outcome.backup = backup;
    }
}

} // namespace pelto
