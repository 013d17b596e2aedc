#include "BatchRun.h"

#include "BatchPlan.h"
#include "Interruption.h"
#include "Progress.h"
#include "document/DocumentFile.h"
#include "engine/ParallelRows.h"
#include "system/MemoryLimit.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <sys/ioctl.h>
#include <unistd.h>

namespace pelto {

namespace {

// Pictures start while the memory their runs need fits in what was left when
// the batch began; one always may when none runs, to meet its own run's check.
class CMemoryGate {
public:
    explicit CMemoryGate(uint64_t budget) : m_nBudget(budget) {}

    // False when the batch was asked to stop first.
    bool Enter(uint64_t bytes) {
        std::unique_lock lock(m_mutex);
        // A signal handler cannot notify: the wait looks again now and then.
        while (m_nRunning > 0 && m_nHeld + bytes > m_nBudget && !interruption::Signal())
            m_changed.wait_for(lock, std::chrono::milliseconds(50));
        if (interruption::Signal()) return false;
        ++m_nRunning;
        m_nHeld += bytes;
        return true;
    }

    void Leave(uint64_t bytes) {
        {
            const std::lock_guard lock(m_mutex);
            --m_nRunning;
            m_nHeld -= bytes;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const uint64_t m_nBudget;
    uint64_t m_nHeld = 0;
    unsigned m_nRunning = 0;
};

// Whole pictures side by side, one thread each, keep the processors busier
// than one picture's rows do: its load and save do not split, small pictures
// split into few bands, and each save waits for the disk a while, so two
// pictures run for each processor. When there are fewer pictures, the
// threads left go to their rows. The bytes written are the same for any split.
struct ThreadSplit {
    unsigned pictures;
    unsigned rows;
};

ThreadSplit SplitThreads(unsigned threads, size_t pictures) {
    const unsigned processors = ResolveThreads(threads);
    const unsigned side = unsigned(std::min<size_t>({2 * processors, pictures, kMaxThreads}));
    return {side, std::max(1u, processors / side)};
}

// What was left at the start, less the stacks of the workers besides this thread.
uint64_t MemoryBudget(uint64_t available, unsigned workers) {
    const uint64_t stacks = uint64_t(workers - 1) * memlimit::ThreadStackBytes();
    return available > stacks ? available - stacks : 0;
}

size_t TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

ProgressForm FormFor(const CliOptions& options) {
    if (options.quiet) return ProgressForm::Quiet;
    return ::isatty(STDERR_FILENO) ? ProgressForm::Terminal : ProgressForm::Lines;
}

bool StopAsked() {
    return interruption::Signal() != 0;
}

// One worker: takes the next picture until none is left or a signal came.
// A picture still waiting for its FIFO's writer has not started: a signal
// ends the wait, and the picture is counted among those not started.
void RunJobs(const CliOptions& options, const std::vector<BatchJob>& jobs,
             const std::vector<uint64_t>& needs, unsigned rows, std::atomic<size_t>& next,
             CMemoryGate& gate, CBatchProgress& progress) {
    for (size_t i = 0; !interruption::Signal() && (i = next++) < jobs.size();) {
        const BatchJob& job = jobs[i];
        const uint64_t need = needs[i];
        if (!gate.Enter(need)) return;
        bool told = false;
        const auto started = [&] {
            told = true;
            progress.Started(job.input);
        };
        const PictureReport report =
            RunPicture(options, job.input, job.output, rows, {StopAsked, started});
        gate.Leave(need);
        if (!report.started) return;
        if (!told) progress.Started(job.input); // it failed before its input opened
        progress.Finished(job.input, report);
    }
}

} // namespace

int RunBatch(const CliOptions& options, std::ostream& err) {
    const BatchPlan plan = PlanBatch(options.inputs, options.outDir);
    if (!plan.error.empty()) {
        err << "pelto-cli: " << plan.error << "\n";
        return kExitUsage;
    }
    // Before any save: the careful save then leaves these two signals to the batch.
    interruption::Install();
    const ThreadSplit split = SplitThreads(options.threads, plan.jobs.size());
    CBatchProgress progress(err, plan.jobs.size(), FormFor(options), TerminalColumns());
    std::vector<uint64_t> needs;
    for (const BatchJob& job : plan.jobs)
        needs.push_back(WholeRunFootprint(
            job.input, RunWithoutUndo{options.style.params, split.rows, options.style.cutOut,
                                      options.style.states}));
    // Fewer workers when their stacks would leave no room for the largest picture alone.
    const uint64_t available = memlimit::AvailableBytes();
    const uint64_t largest = needs.empty() ? 0 : *std::max_element(needs.begin(), needs.end());
    unsigned workers = split.pictures;
    while (workers > 1 && MemoryBudget(available, workers) < largest)
        --workers;
    CMemoryGate gate(MemoryBudget(available, workers));
    std::atomic<size_t> next{0};
    // One band a worker, the calling thread being the first.
    RunBands(int(workers), workers, [&](unsigned, RowBand) {
        RunJobs(options, plan.jobs, needs, split.rows, next, gate, progress);
    });
    const int signal = interruption::Signal();
    progress.End(signal);
    if (signal) return 128 + signal;
    return progress.Failed() ? kExitFailure : kExitOk;
}

} // namespace pelto
