#pragma once
// What a batch shows on standard error while it runs: on a terminal one line
// rewritten in place (the pictures done of all, the one last started, the
// time left), cleared at the end; elsewhere a line a picture as it ends; with
// --quiet neither. A failure's messages and the closing summary show in every
// form. The batch's threads may call it at once.

#include "CliRun.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

namespace pelto {

enum class ProgressForm { Terminal, Lines, Quiet };

class CBatchProgress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // columns: the terminal's width, which the line stays within.
    CBatchProgress(std::ostream& out, size_t total, ProgressForm form, size_t columns,
                   Clock clock = std::chrono::steady_clock::now);

    void Started(const std::string& name);
    void Finished(const std::string& name, const PictureReport& report);
    // The summary; signal is the one that stopped the batch, or 0.
    void End(int signal);

    size_t Failed() const;

private:
    std::string Line() const;
    void Draw();

    mutable std::mutex m_mutex;
    std::ostream& m_out;
    const size_t m_nTotal;
    const ProgressForm m_form;
    const size_t m_nColumns;
    const Clock m_clock;
    const std::chrono::steady_clock::time_point m_start;
    size_t m_nStarted = 0;
    size_t m_nDone = 0;
    size_t m_nFailed = 0;
    std::string m_current; // the picture last started
};

} // namespace pelto
