#include "ButtonSave.h"

#include "system/DirectWrite.h"

#include <atomic>
#include <cerrno>
#include <exception>
#include <mutex>

namespace pelto {

namespace {

// The picture's file image written to a regular file a run of rows at a
// time, from the threads that finish them; the header, and whatever was not
// told, at the end. Any other file takes it whole at the end.
class CRowStream {
public:
    CRowStream(CFile& file, const CDIB& picture)
        : m_file(file), m_picture(picture), m_bPositioned(S_ISREG(file.Status().st_mode)) {
        // A file nobody sees before it is whole goes past the cache.
        if (!m_bPositioned || !picture.HasBlock() || !file.WritesBehind() ||
            !CDirectWriter::Suits(picture.m_pFileImage.get(), picture.m_nFileSize))
            return;
        m_direct.emplace(file, picture.m_pFileImage.get(), picture.m_nFileSize);
        m_direct->Final(0, Offset(0));
        m_direct->Final(Offset(picture.m_nHeight), picture.m_nFileSize);
    }

    RowsShaded Sink() {
        if (!m_bPositioned) return {};
        return [this](int first, int last) { Rows(first, last); };
    }

    void Finish() {
        if (m_error) throw *m_error;
        if (m_direct) {
            m_direct->Finish();
            m_file.Seek(m_picture.m_nFileSize);
            return;
        }
        if (!m_bPositioned || !m_picture.HasBlock()) {
            StorePicture(m_file, m_picture, nullptr, PictureFormat::Bmp);
            return;
        }
        const uint8_t* block = m_picture.m_pFileImage.get();
        const int rows = m_picture.m_nHeight;
        if (m_told != rows) {
            m_file.WriteAt(block, m_picture.m_nFileSize, 0);
        } else {
            m_file.WriteAt(block, Offset(0), 0);
            m_file.WriteAt(block + Offset(rows), m_picture.m_nFileSize - Offset(rows),
                           Offset(rows));
        }
        m_file.Seek(m_picture.m_nFileSize);
    }

private:
    // Where stored row `row` starts in the file (rows: where the pixels end).
    uint64_t Offset(int row) const {
        return uint64_t(m_picture.Row(row) - m_picture.m_pFileImage.get());
    }

    // On a worker thread: a failure is kept for Finish, and the rest is not written.
    void Rows(int first, int last) noexcept {
        if (m_direct) {
            m_direct->Final(Offset(first), Offset(last));
            return;
        }
        if (m_bFailed) return;
        try {
            m_file.WriteAt(m_picture.Row(first), Offset(last) - Offset(first), Offset(first));
            m_told += last - first;
        } catch (const CFileException& e) {
            const std::lock_guard lock(m_mutex);
            if (!m_error) m_error = e;
            m_bFailed = true;
        }
    }

    CFile& m_file;
    const CDIB& m_picture;
    const bool m_bPositioned;
    std::atomic<int> m_told{0};
    std::atomic<bool> m_bFailed{false};
    std::mutex m_mutex;
    std::optional<CFileException> m_error;
    std::optional<CDirectWriter> m_direct;
};

} // namespace

std::string MakeButtonAndSave(CPeltoDoc& doc, const ButtonParams& params, unsigned threads,
                              const std::string& path, std::optional<PictureFormat> format,
                              const ShowPath& show) {
    const PictureFormat kind = format.value_or(doc.Format());
    if (kind != PictureFormat::Bmp || doc.HasTransparency()) {
        doc.MakeButton(params, threads);
        return SaveDocument(doc, path, kind, show);
    }
    // The button is made while the file is open; what is not a write's
    // failure still ends the save as one, so that it undoes itself, and is
    // thrown again once it has.
    std::exception_ptr failure;
    std::string message = SaveDocumentWith(doc, path, kind, show, [&](CFile& file) {
        CRowStream stream(file, doc.Picture());
        try {
            doc.MakeButton(params, threads, stream.Sink());
        } catch (...) {
            failure = std::current_exception();
            throw CFileException(ECANCELED, path, "write");
        }
        stream.Finish();
    });
    if (failure) std::rethrow_exception(failure);
    return message;
}

} // namespace pelto
