#pragma once
// A batch's pictures, each with the file its button goes to (outDir/NAME for
// an IN called NAME), checked before any work: outDir must be a folder, no
// two INs may share a name, and no output may be one of the INs, under its
// own name or through a link.

#include <string>
#include <vector>

namespace pelto {

struct BatchJob {
    std::string input;
    std::string output;
};

struct BatchPlan {
    std::vector<BatchJob> jobs;
    std::string error; // what is wrong with the arguments; no jobs then
};

BatchPlan PlanBatch(const std::vector<std::string>& inputs, const std::string& outDir);

} // namespace pelto
