// The web's stand-ins for the system services the desktop's system layer
// takes from Linux: the memory left is the WebAssembly memory's, which grows
// up to its maximum (4 GiB); the module runs on one processor, or, threaded,
// on as many as the browser tells (its workers were started for them, at
// most PELTO_WEB_MAX_THREADS); and there are
// no folders to save into carefully (the glue writes its results straight
// into the module's memory file system), so opening one is refused.
#include "system/CpuCount.h"
#include "system/File.h"
#include "system/Folder.h"
#include "system/MemoryLimit.h"
#include "system/ThreadPlacement.h"

#include <algorithm>
#include <cerrno>
#include <emscripten/heap.h>
#ifdef PELTO_WEB_MAX_THREADS
#include <emscripten/threading.h>
#endif
#include <malloc.h>
#include <new>
#include <unistd.h>

namespace pelto {

namespace memlimit {

uint64_t AvailableBytes() {
    // What the memory may still grow by, and what the heap holds free.
    const uint64_t top = reinterpret_cast<uintptr_t>(sbrk(0));
    const uint64_t max = emscripten_get_heap_max();
    return (max > top ? max - top : 0) + uint64_t(mallinfo().fordblks);
}

uint64_t ThreadStackBytes() {
    return 0;
}
void ShareOneHeapUnderLimits() {}

void EnsureAvailable(uint64_t bytes) {
    if (bytes > AvailableBytes()) throw std::bad_alloc();
}

} // namespace memlimit

unsigned CountUsableCpus() {
#ifdef PELTO_WEB_MAX_THREADS
    return std::clamp(emscripten_num_logical_cores(), 1, PELTO_WEB_MAX_THREADS);
#else
    return 1;
#endif
}
unsigned UsableCpuCount() {
    return CountUsableCpus();
}

namespace placement {
void PlaceApart(std::thread&, unsigned) {}
void FreeCaller() {}
} // namespace placement
std::optional<unsigned> QuotaCpus(std::string_view) {
    return std::nullopt;
}
std::optional<unsigned> QuotaCpus(std::string_view, std::string_view) {
    return std::nullopt;
}

CFolder CFolder::Open(const std::string& path) {
    throw CFileException(ENOTSUP, path, "folder");
}
CFolder CFolder::At(const std::string& relative) const {
    throw CFileException(ENOTSUP, relative, "folder");
}
CFolder::CFolder(CFolder&& other) noexcept : m_fd(other.m_fd), m_path(std::move(other.m_path)) {
    other.m_fd = -1;
}
CFolder& CFolder::operator=(CFolder&& other) noexcept {
    std::swap(m_fd, other.m_fd);
    std::swap(m_path, other.m_path);
    return *this;
}
CFolder::~CFolder() = default;
std::string CFolder::PathOf(const std::string& name) const {
    return m_path + "/" + name;
}
bool CFolder::IsProcess() const {
    return false;
}
void CFolder::Sync() const {}

} // namespace pelto
