#pragma once
// Where a fuzzing process keeps its files: the RAM disk when there is one.

#include "support/BmpBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace pelto {

inline std::string RamDisk() {
    return std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "";
}

} // namespace pelto
