#include "diagnostics.h"

namespace podcore {

int Trace(const char* /*message*/) {
    return 1;
}

int TraceFormat(const char* format, long value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return Trace(text);
}

} // namespace podcore
