#pragma once
// Work on the parts of one page that do not depend on each other (rows of
// the page, rows of the zone, cells) shared among the cores. Each part
// writes only its own result, and whatever is added up from the results is
// added in their order afterwards: a reading is the same on any number of
// cores.

#include <cstddef>
#include <functional>

namespace mrz {

/// How many parts at most run at once (the calling thread's among them).
int Workers();

/// Runs work(i, worker) once for each i in [0, count), spread over up to
/// Workers() threads; worker (in [0, Workers())) tells apart the threads,
/// for state each needs its own copy of. Returns when every part is done;
/// the first exception a part threw is thrown again then.
void ForEach(std::size_t count, const std::function<void(std::size_t i, int worker)> &work);

} // namespace mrz
