// Checks that the last writer of the library's buffer left its summary ready: the first read
// returns the summary of the samples as the writer left them without a pass of its own, and an
// announced write still replaces it.
#pragma once

#include "analysis/buffer_summary.h"
#include "analysis/summary_cache.h"
#include "buffer/sample_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

inline ::testing::AssertionResult SummaryLeftByTheWriter(uint32_t summarisedSamples) {
    using podcore::analysis::BufferSummary;
    podcore::buffer::State& buffer = podcore::buffer::Buffer();
    if (buffer.samples == nullptr || summarisedSamples < BufferSummary::kBaseBlock)
        return ::testing::AssertionFailure() << "no samples to summarise";
    BufferSummary expected;
    expected.Build(buffer.samples, summarisedSamples);

    // One block changed behind the library's back: all bits high, which no captured, demo or
    // file block of these tests holds, so a summary built at the read would differ.
    uint32_t* block = buffer.samples + summarisedSamples / 2 / BufferSummary::kBaseBlock *
                                           BufferSummary::kBaseBlock;
    const std::vector<uint32_t> kept(block, block + BufferSummary::kBaseBlock);
    std::fill_n(block, BufferSummary::kBaseBlock, 0xFFFFFFFFu);
    const BufferSummary* first = podcore::analysis::SummaryOfLibraryBuffer();
    const bool ready = first != nullptr && *first == expected;

    podcore::buffer::MarkWritten();
    BufferSummary changed;
    changed.Build(buffer.samples, buffer.bufferLength);
    const BufferSummary* announced = podcore::analysis::SummaryOfLibraryBuffer();
    const bool replaced = announced != nullptr && *announced == changed;

    std::copy(kept.begin(), kept.end(), block);
    podcore::buffer::MarkWritten();
    if (!ready)
        return ::testing::AssertionFailure() << "the first read did not find the writer's summary";
    if (!replaced)
        return ::testing::AssertionFailure() << "an announced write did not replace it";
    return ::testing::AssertionSuccess();
}
