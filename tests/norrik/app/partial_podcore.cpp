// Stands in for a library of the wrong version: it lacks most of the exports.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t LoggedData(uint32_t) {
    return 0;
}
