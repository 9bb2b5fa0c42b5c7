#include "analysis/summary_cache.h"

#include "buffer/sample_buffer.h"

#include <new>
#include <utility>

namespace podcore::analysis {

namespace {

// Rebuilt on the first read after a write unless the writer built or asked for it: the buffer
// does not know about its readers, so a write through the buffer pointer is seen once it is
// announced, and a MakeBuffer followed by DemoData is summarised once.
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

void AdoptSummary(const buffer::State& of, BufferSummary&& summary) {
    const buffer::State& state = buffer::Buffer();
    if (&of != &state)
        return;
    SummaryCache& cache = Cache();
    cache.summary = std::move(summary);
    cache.built = true;
    cache.generation = state.generation.load(std::memory_order_acquire);
    cache.samples = state.samples;
    cache.length = state.bufferLength;
}

void SummariseLibraryBuffer() {
    SummaryOfLibraryBuffer();
}

} // namespace podcore::analysis
