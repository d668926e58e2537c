#pragma once
// Work on the parts of one page that do not depend on each other (rows of
// the page, rows of the zone, cells) shared among the cores. Each part
// writes only its own result, and whatever is added up from the results is
// added in their order afterwards: a reading is the same on any number of
// cores.

#include <cstddef>
#include <functional>
#include <future>
#include <system_error>

namespace mrz {

/// How many parts at most run at once (the calling thread's among them):
/// the cores the process may run on, four at most.
int Workers();

/// At most `workers` parts at once from now on (0: as many as Workers
/// allows); for comparing readings made on one core and on several.
void LimitWorkers(int workers);

/// Runs work(i, worker) once for each i in [0, count), spread over up to
/// Workers() threads; worker (in [0, Workers())) tells apart the threads,
/// for state each needs its own copy of. Returns when every part is done;
/// the first exception a part threw is thrown again then.
void ForEach(std::size_t count, const std::function<void(std::size_t i, int worker)> &work);

/// Lowers the calling thread (and the threads it starts from now on) below
/// the process's others: work done ahead gives way to what the operator
/// waits on now.
void GiveWay();

/// function(arguments...) started on a thread of its own, its result had
/// from the future; where the system has no thread to give, it runs when
/// the result is asked for.
template <typename Function, typename... Arguments>
auto Aside(Function function, Arguments... arguments)
{
    try {
        return std::async(std::launch::async, function, arguments...);
    } catch (const std::system_error &) {
        return std::async(std::launch::deferred, function, arguments...);
    }
}

/// As Aside, the thread of its own giving way to the caller's (GiveWay).
/// The function must not start work on threads it does not own (Qt's
/// shared pool keeps the threads it starts, and they would stay behind);
/// where it runs on the caller's thread, the caller keeps its place.
template <typename Function>
auto AsideBehind(Function function)
{
    try {
        return std::async(std::launch::async, [function] {
            GiveWay();
            return function();
        });
    } catch (const std::system_error &) {
        return std::async(std::launch::deferred, function);
    }
}

} // namespace mrz
