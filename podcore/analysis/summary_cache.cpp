#include "analysis/summary_cache.h"

#include "buffer/sample_buffer.h"

#include <new>

namespace podcore::analysis {

namespace {

// Rebuilt lazily, on the first read after a write, rather than by the writers: the buffer does
// not know about its readers, a capture's end is not held up by a pass over the buffer, a
// MakeBuffer followed by DemoData is summarised once, and a zoomed-in view never pays for it.
struct SummaryCache {
    BufferSummary summary;
    bool built = false;
    uint64_t generation = 0;
    const uint32_t* samples = nullptr;
    uint32_t length = 0;
};

SummaryCache& Cache() {
    static SummaryCache cache;
    return cache;
}

} // namespace

const BufferSummary* SummaryOfLibraryBuffer() {
    const buffer::State& state = buffer::Buffer();
    const uint64_t generation = state.generation.load(std::memory_order_acquire);
    const uint32_t length = state.bufferLength;
    SummaryCache& cache = Cache();
    const bool current = cache.built && cache.generation == generation &&
                         cache.samples == state.samples && cache.length == length;
    if (!current) {
        cache.built = false;
        try {
            cache.summary.Build(state.samples, length);
        } catch (const std::bad_alloc&) {
            cache.summary.Clear();
            return nullptr;
        }
        cache.built = true;
        cache.generation = generation;
        cache.samples = state.samples;
        cache.length = length;
    }
    return state.samples == nullptr ? nullptr : &cache.summary;
}

} // namespace podcore::analysis
