#pragma once
// SANE's calls that can take seconds (starting SANE and listing the devices
// while backends probe their buses, opening a device) run
// on a worker thread while the calling thread keeps its event loop turning,
// so the application's windows paint and its timers fire meanwhile. SANE
// allows one call at a time: these calls never overlap, and while one runs
// the source takes no other request of the application (CallRunning).

#include <functional>
#include <type_traits>

namespace twainsane {

/// Runs `work` on a worker thread, after any other such work has ended, and
/// turns the calling thread's event loop until it is done (user input waits
/// for the end). Without an application object there is no loop to keep:
/// `work` runs in the calling thread.
void RunOffThread(const std::function<void()> &work);

/// The result of `work`, run as RunOffThread runs it.
template<class Work>
auto OffThread(Work work) -> std::invoke_result_t<Work>
{
    std::invoke_result_t<Work> result{};
    RunOffThread([&] { result = work(); });
    return result;
}

/// Runs `work` in the calling thread (not the application's), after any
/// other such work has ended: for a thread of its own that is done with a
/// device and closes it.
void RunAlone(const std::function<void()> &work);

/// True while the calling thread waits for work of RunOffThread.
bool CallRunning();

} // namespace twainsane
