#include "BatchPlan.h"

#include "NameQuoting.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace pelto {

namespace {

using FileId = std::pair<dev_t, ino_t>;

BatchPlan Refuse(std::string error) {
    return {{}, std::move(error)};
}

std::string FolderProblem(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return "--out-dir " + AlwaysQuotedName(folder) + " " +
               (errno == ENOENT ? std::string("does not exist")
                                : "cannot be used: " + std::string(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode)) return "--out-dir " + AlwaysQuotedName(folder) + " is not a folder";
    return {};
}

} // namespace

BatchPlan PlanBatch(const std::vector<std::string>& inputs, const std::string& outDir) {
    if (std::string problem = FolderProblem(outDir); !problem.empty())
        return Refuse(std::move(problem));
    BatchPlan plan;
    std::map<std::string, const std::string*> byName;
    std::map<FileId, const std::string*> byFile;
    for (const std::string& input : inputs) {
        const std::string name = std::filesystem::path(input).filename().string();
        if (name.empty() || name == "." || name == "..")
            return Refuse(AlwaysQuotedName(input) + " names no file to make a button of");
        const std::string output = (std::filesystem::path(outDir) / name).string();
        if (const auto [at, fresh] = byName.emplace(name, &input); !fresh)
            return Refuse(AlwaysQuotedName(*at->second) + " and " + AlwaysQuotedName(input) +
                          " have the same name: both would be written to " + QuotedName(output));
        plan.jobs.push_back({input, output});
        // An input that cannot be found is reported when its turn comes.
        if (struct stat st{}; ::stat(input.c_str(), &st) == 0)
            byFile.emplace(FileId{st.st_dev, st.st_ino}, &input);
    }
    for (const BatchJob& job : plan.jobs) {
        struct stat st {};
        if (::stat(job.output.c_str(), &st) != 0) continue;
        if (const auto found = byFile.find({st.st_dev, st.st_ino}); found != byFile.end())
            return Refuse("writing " + QuotedName(job.output) + " would overwrite the input " +
                          AlwaysQuotedName(*found->second));
    }
    return plan;
}

} // namespace pelto
