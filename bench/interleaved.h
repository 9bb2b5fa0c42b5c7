// Two works timed in turns, so that both meet the same machine load and page cache.
#pragma once

#include "harness.h"

#include <algorithm>
#include <unistd.h>
#include <utility>
#include <vector>

namespace bench {

// Alternates the two works and returns the median time of each. Before each run, off the clock,
// `prepare` sets the folder up and dirty pages are flushed, so that one run's write-back does
// not land on the other's clock.
template <typename Prepare, typename Work, typename Baseline>
std::pair<double, double> InterleavedMedians(int repeats, Prepare&& prepare, Work&& work,
                                             Baseline&& baseline) {
    std::vector<double> workTimes;
    std::vector<double> baselineTimes;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        ::sync();
        workTimes.push_back(bench::MedianSeconds(1, work));
        prepare();
        ::sync();
        baselineTimes.push_back(bench::MedianSeconds(1, baseline));
    }
    std::sort(workTimes.begin(), workTimes.end());
    std::sort(baselineTimes.begin(), baselineTimes.end());
    return {workTimes[repeats / 2], baselineTimes[repeats / 2]};
}

} // namespace bench
