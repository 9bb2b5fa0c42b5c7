// The summary of the library's own sample buffer, kept in step with it.
#pragma once

#include "analysis/buffer_summary.h"
#include "buffer/sample_buffer.h"

namespace podcore::analysis {

// The summary of the library's buffer as it is now, rebuilt first if the buffer has been written
// (or replaced) since the last build; null when there is no buffer or no memory for a summary.
// Readers call it from the application thread, like every reader of the buffer.
const BufferSummary* SummaryOfLibraryBuffer();

// Takes a summary built while the samples were written as the one of the library's buffer as it
// is now (its last write announced), so that the first read needs no pass over the samples. A
// summary of any other buffer is dropped. It may cover fewer samples than the buffer holds; the
// samples past it are read directly.
void AdoptSummary(const buffer::State& of, BufferSummary&& summary);

// Summarises the library's buffer now, after a write, instead of at the first read.
void SummariseLibraryBuffer();

} // namespace podcore::analysis
