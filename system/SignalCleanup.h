#pragma once
// Nothing a save leaves on disk may outlive the process. A named temporary
// file is registered while it exists; SIGTERM, SIGINT and SIGHUP remove every
// registered one, then end the process as they would have, so its exit status
// still names the signal. kill -9 cannot be caught: unnamed temporary files
// cover that case. The handlers go only where a signal has its default action
// (a SIGHUP ignored under nohup stays ignored) and are installed once per process.

#include <initializer_list>
#include <string>

namespace pelto {

namespace signalcleanup {

void Install();
// Installs handler for each of signals that still has its default action,
// with all of them blocked while it runs (SA_RESTART).
void InstallWhereDefault(std::initializer_list<int> signals, void (*handler)(int));
// What the handlers Install puts in place do, for a program's own handler
// that takes a signal over: while a CDeferredSignals lives the signal waits,
// otherwise every registered file is removed and the process ends by the
// signal once the handler returns. Async-signal-safe.
void Handle(int signal);

// Registers the file called name in the folder open as descriptor folder for
// removal on a signal while this lives; the descriptor must outlive it.
class CRegisteredPath {
public:
    CRegisteredPath(int folder, const std::string& name);
    ~CRegisteredPath();
    CRegisteredPath(const CRegisteredPath&) = delete;
    CRegisteredPath& operator=(const CRegisteredPath&) = delete;

private:
    int m_nSlot; // -1 when every slot was taken
};

// While one lives, the catchable signals wait; the process ends by the first
// of them when the last one goes. Guards work that must finish or be undone.
class CDeferredSignals {
public:
    CDeferredSignals();
    ~CDeferredSignals();
    CDeferredSignals(const CDeferredSignals&) = delete;
    CDeferredSignals& operator=(const CDeferredSignals&) = delete;
};

} // namespace signalcleanup

} // namespace pelto
