#include "open_sizing.h"

#include "acquisition_settings.h"
#include "number_text.h"

#include <algorithm>

namespace norrik {

OpenSizing SizeForOpen(uint32_t fileCount, int32_t currentBufferSamples, int32_t maxBufferSamples) {
    const int64_t nearest = RoundHalfEven(fileCount / 1'000'000.0 - 1);
    const bool listed = nearest >= 0 && nearest < SizeEntries(maxBufferSamples);
    OpenSizing sizing{listed ? static_cast<int>(nearest) : -1,
                      listed ? BufferSamplesForEntry(static_cast<int>(nearest))
                             : currentBufferSamples};
    // A count between two list sizes would lose the file's end: take whole blocks that hold it,
    // as long as the library's advice allows them.
    const int64_t whole = (int64_t{fileCount} + 65535) & ~int64_t{0xFFFF};
    if (sizing.bufferSamples < int64_t{fileCount} && whole <= maxBufferSamples)
        sizing.bufferSamples = static_cast<int32_t>(whole);
    return sizing;
}

} // namespace norrik
