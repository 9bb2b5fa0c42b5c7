// The summary of the library's own sample buffer, kept in step with it.
#pragma once

#include "analysis/buffer_summary.h"

namespace podcore::analysis {

// The summary of the library's buffer as it is now, rebuilt first if the buffer has been written
// (or replaced) since the last build; null when there is no buffer or no memory for a summary.
// Readers call it from the application thread, like every reader of the buffer.
const BufferSummary* SummaryOfLibraryBuffer();

} // namespace podcore::analysis
