#pragma once
// A file's image in memory written to the file past the system's cache, by a
// thread of its own, a part at a time as its makers tell the parts final: the
// device takes the file while the image is still being made, and the writing
// costs the processors next to nothing (copying into the cache costs more
// than making a button). A second thread syncs what was written meanwhile,
// so that the last sync has little left. What it cannot write so (an end that is
// no whole block, a part never told, or everything on a filesystem that
// refuses direct writes) Finish writes the usual way.

#include "File.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pelto {

class CDirectWriter {
public:
    // Parts of this many bytes are written at once.
    static constexpr uint64_t kPart = uint64_t(1) << 20;
    // Whether an image at image of size bytes is worth writing so, and aligned for it.
    static bool Suits(const uint8_t* image, uint64_t size);

    // image: the whole file as it is to be, size bytes (Suits), which stays
    // in place until Finish. False from file.SetDirect throws nothing: the
    // writer then leaves everything to Finish.
    CDirectWriter(CFile& file, const uint8_t* image, uint64_t size);
    // Without Finish the threads stop, leaving the file as it is.
    ~CDirectWriter();
    CDirectWriter(const CDirectWriter&) = delete;
    CDirectWriter& operator=(const CDirectWriter&) = delete;

    // Bytes [begin, end) of the image are final. Any thread may tell, each byte once.
    void Final(uint64_t begin, uint64_t end) noexcept;
    // The whole image is final: waits for the threads, writes what they did not
    // and gives the file back to cached writing; throws the first failure.
    void Finish();

private:
    void Write() noexcept;
    void Flush() noexcept;
    void WritePart(uint32_t part);
    void Fail(const CFileException& e);
    void Stop();
    uint64_t PartBegin(uint32_t part) const { return uint64_t(part) * kPart; }
    uint64_t PartEnd(uint32_t part) const;

    CFile& m_file;
    const uint8_t* const m_image;
    const uint64_t m_size;
    const uint64_t m_aligned; // where the last whole block ends
    const uint32_t m_parts;
    std::unique_ptr<std::atomic<uint64_t>[]> m_untold; // bytes of each part not yet final
    std::vector<bool> m_written;                       // the writer's, then Finish's
    bool m_bDirect = false;                            // the writer's, then Finish's

    std::mutex m_mutex; // over what follows
    std::condition_variable m_wake, m_wakeFlush;
    std::deque<uint32_t> m_ready;
    uint64_t m_nWritten = 0, m_nFlushed = 0; // bytes
    bool m_bStopping = false;
    std::optional<CFileException> m_error;
    // One thread writes, the other syncs what was written meanwhile: a sync
    // takes the device longer than the writes before it.
    std::thread m_writer, m_flusher;
};

} // namespace pelto
