#include "DirectWrite.h"

#include "MemoryLimit.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace pelto {

namespace {

// Small images are written faster than a thread starts.
constexpr uint64_t kLeastSize = uint64_t(2) << 20;

} // namespace

bool CDirectWriter::Suits(const uint8_t* image, uint64_t size) {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    // Under an address-space limit the threads' stacks are not the run's to take.
    return size >= kLeastSize &&
           reinterpret_cast<uintptr_t>(image) % CFile::kDirectAlignment == 0 &&
           !memlimit::AddressSpaceLimited();
#else
    (void)image, (void)size;
    return false;
#endif
}

CDirectWriter::CDirectWriter(CFile& file, const uint8_t* image, uint64_t size)
    : m_file(file), m_image(image), m_size(size),
      m_aligned(size / CFile::kDirectAlignment * CFile::kDirectAlignment),
      m_parts(uint32_t((size + kPart - 1) / kPart)),
      m_untold(std::make_unique<std::atomic<uint64_t>[]>(m_parts)), m_written(m_parts, false) {
    for (uint32_t part = 0; part < m_parts; ++part)
        m_untold[part] = PartEnd(part) - PartBegin(part);
    if (!Suits(image, size) || !file.SetDirect(true)) return;
    m_bDirect = true;
    try {
        m_writer = std::thread([this] { Write(); });
        m_flusher = std::thread([this] { Flush(); });
    } catch (const std::system_error&) {
        // Finish writes what the writer, if any, did not.
    }
}

CDirectWriter::~CDirectWriter() {
    Stop();
}

uint64_t CDirectWriter::PartEnd(uint32_t part) const {
    return std::min(m_size, PartBegin(part) + kPart);
}

void CDirectWriter::Final(uint64_t begin, uint64_t end) noexcept {
    end = std::min(end, m_size);
    for (uint64_t at = begin; at < end;) {
        const auto part = uint32_t(at / kPart);
        const uint64_t next = std::min(end, PartEnd(part));
        const uint64_t told = next - at;
        if (m_untold[part].fetch_sub(told) == told) {
            const std::lock_guard lock(m_mutex);
            m_ready.push_back(part);
            m_wake.notify_one();
        }
        at = next;
    }
}

void CDirectWriter::Fail(const CFileException& e) {
    const std::lock_guard lock(m_mutex);
    if (!m_error) m_error = e;
}

void CDirectWriter::Write() noexcept {
    for (;;) {
        uint32_t part = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return !m_ready.empty() || m_bStopping; });
            if (m_ready.empty() || m_error) return;
            part = m_ready.front();
            m_ready.pop_front();
        }
        if (!m_bDirect) continue;
        try {
            WritePart(part);
            const std::lock_guard lock(m_mutex);
            m_nWritten += PartEnd(part) - PartBegin(part);
            m_wakeFlush.notify_one();
        } catch (const CFileException& e) {
            // Refused after all (a filesystem that takes the flag but not the
            // writes): the rest goes through the cache.
            if (e.GetError() == EINVAL)
                m_bDirect = false;
            else
                Fail(e);
        }
    }
}

void CDirectWriter::Flush() noexcept {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wakeFlush.wait(lock, [&] { return m_bStopping || m_nWritten > m_nFlushed; });
        if (m_bStopping || m_error) return;
        const uint64_t written = m_nWritten;
        lock.unlock();
        try {
            m_file.Sync();
        } catch (const CFileException& e) {
            Fail(e);
        }
        lock.lock();
        m_nFlushed = written;
    }
}

void CDirectWriter::WritePart(uint32_t part) {
    const uint64_t begin = PartBegin(part);
    const uint64_t end = std::min(PartEnd(part), m_aligned);
    if (begin < end) m_file.WriteAt(m_image + begin, end - begin, begin);
    m_written[part] = true;
}

void CDirectWriter::Stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
        m_wake.notify_one();
        m_wakeFlush.notify_one();
    }
    if (m_writer.joinable()) m_writer.join();
    if (m_flusher.joinable()) m_flusher.join();
}

void CDirectWriter::Finish() {
    // The writer writes what is ready before it ends.
    Stop();
    if (m_error) throw *m_error;
    if (m_file.WritesDirect() && !m_file.SetDirect(false))
        throw CFileException(errno, m_file.GetFilePath(), "write");
    for (uint32_t part = 0; part < m_parts; ++part) {
        const uint64_t begin =
            m_written[part] ? std::max(PartBegin(part), m_aligned) : PartBegin(part);
        const uint64_t end = PartEnd(part);
        if (begin < end) m_file.WriteAt(m_image + begin, end - begin, begin);
    }
}

} // namespace pelto
