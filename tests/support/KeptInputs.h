#pragma once
// The inputs the fuzz targets keep, for the tests that replay them: each
// seed corpus holds some, a regressions folder may hold none yet. A folder
// that is missing, or a corpus left empty, is a fault to report, so that a
// moved folder cannot make a replay of nothing pass.

#include <string>
#include <vector>

namespace pelto {

struct KeptInputs {
    std::vector<std::string> paths;  // sorted
    std::vector<std::string> faults; // each naming its folder
};

// The hostile-file target's .bmp files: fuzz/corpus and fuzz/regressions.
KeptInputs KeptHostileFiles();
// The wide bevel target's .bin inputs, its regressions among its seeds: fuzz/corpus-wide.
KeptInputs KeptWideBevelInputs();

} // namespace pelto
