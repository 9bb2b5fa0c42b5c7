#include "analysis/vectors.h"

namespace podcore::analysis {

void CreateVectors(const uint8_t* levels, uint32_t* vectors, uint32_t count) {
    if (vectors == nullptr)
        return;
    // No columns, no runs: the list is empty rather than a run built from a level that is not
    // there.
    if (levels == nullptr || count == 0) {
        *vectors = 0;
        return;
    }
    uint32_t current = levels[0];
    uint32_t run = 0;
    for (uint32_t i = 0; i < count; ++i) {
        ++run;
        if (levels[i] != current) {
            *vectors++ = current * kRunLevelUnit + run;
            current = levels[i];
            run = 0;
        }
    }
    *vectors++ = current * kRunLevelUnit + run;
    *vectors = 0;
}

} // namespace podcore::analysis
