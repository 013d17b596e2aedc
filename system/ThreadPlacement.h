#pragma once
// Threads started apart from their starter. Some virtual machines' kernels
// keep a new thread on its starter's processor until the load has lasted a
// few milliseconds, so that work split for two threads ran on one: a thread
// started here begins on the processor `apart` places after its starter's
// (among those the process may use), and is free to go anywhere once it runs.
//
// Web twin: web/WebPlatform.cpp, where the browser places its workers.

#include <atomic>
#include <memory>
#include <thread>
#include <utility>

namespace pelto {

namespace placement {
// Puts a thread that has not begun yet on the processor `apart` after the caller's.
void PlaceApart(std::thread& thread, unsigned apart);
// Lets the calling thread run on every processor the process may use again.
void FreeCaller();
} // namespace placement

// As std::thread(work, args...); throws what std::thread throws.
template <typename Work, typename... Args>
std::thread StartApart(unsigned apart, Work&& work, Args&&... args) {
    // The thread frees itself only once it was placed, or it could be placed
    // after its freeing and stay bound.
    auto placed = std::make_shared<std::atomic<bool>>(false);
    std::thread thread(
        [placed](auto&& run, auto&&... given) {
            placed->wait(false);
            placement::FreeCaller();
            run(std::forward<decltype(given)>(given)...);
        },
        std::forward<Work>(work), std::forward<Args>(args)...);
    placement::PlaceApart(thread, apart);
    placed->store(true);
    placed->notify_one();
    return thread;
}

} // namespace pelto
