#pragma once
// Small robust statistics shared by the search and the row fitting.

#include <algorithm>
#include <vector>

namespace mrz {

/// The median (upper middle for an even count); 0 for no values.
template <class T>
T Median(std::vector<T> v)
{
    if (v.empty())
        return T(0);
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

} // namespace mrz
