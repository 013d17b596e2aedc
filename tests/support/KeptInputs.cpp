#include "KeptInputs.h"

#include <algorithm>
#include <filesystem>

namespace pelto {

namespace fs = std::filesystem;

namespace {

struct KeptFolder {
    const char* name; // under fuzz/
    bool mayHoldNone; // regressions, until the fuzzer breaks something
};

KeptInputs Find(std::initializer_list<KeptFolder> folders, const std::string& ext) {
    KeptInputs kept;
    for (const KeptFolder& folder : folders) {
        const fs::path path = fs::path(PELTO_FUZZ_DIR) / folder.name;
        if (!fs::is_directory(path)) {
            kept.faults.push_back(path.string() + ": missing");
            continue;
        }
        const size_t before = kept.paths.size();
        for (const auto& entry : fs::directory_iterator(path))
            if (entry.path().extension() == ext) kept.paths.push_back(entry.path().string());
        if (kept.paths.size() == before && !folder.mayHoldNone)
            kept.faults.push_back(path.string() + ": no " + ext + " file");
    }
    std::sort(kept.paths.begin(), kept.paths.end());
    return kept;
}

} // namespace

KeptInputs KeptHostileFiles() {
    return Find({{"corpus", false}, {"regressions", true}}, ".bmp");
}

KeptInputs KeptWideBevelInputs() {
    return Find({{"corpus-wide", false}}, ".bin");
}

} // namespace pelto
