#include "analysis/screen_scaling.h"

#include "analysis/bit_fold.h"
#include "analysis/buffer_summary.h"
#include "analysis/summary_cache.h"
#include "buffer/sample_buffer.h"
#include "diagnostics.h"

#include <algorithm>
#include <cstring>

namespace podcore::analysis {

namespace {

void WriteColumn(const ColumnOutputs& outputs, uint32_t column, BitFold fold) {
    const uint32_t changed = fold.allHigh ^ fold.anyHigh;
    for (int bit = 0; bit < kSignalBits; ++bit) {
        // A changed bit was high at least once, so high + changed gives 2 and never 3.
        if (uint8_t* output = outputs[bit])
            output[column] = static_cast<uint8_t>(((fold.anyHigh >> bit) & 1) +
                                                  ((changed >> bit) & 1));
    }
}

void WriteBlankColumns(const ColumnOutputs& outputs, const ColumnLayout& layout,
                       uint32_t length) {
    for (uint8_t* output : outputs) {
        if (output == nullptr)
            continue;
        std::memset(output, kNoSingleLevel, layout.lead);
        std::memset(output + layout.end, kNoSingleLevel, length - layout.end);
    }
}

void ReduceZoomedOut(const uint32_t* source, const BufferSummary* summary,
                     const ColumnOutputs& outputs, const ColumnLayout& layout, uint32_t scale) {
    uint64_t pos = layout.first;
    for (uint32_t column = layout.lead; column < layout.end; ++column, pos += scale) {
        const BitFold fold = summary != nullptr ? summary->Fold(source, pos, pos + scale)
                                                : FoldSamples(source + pos, scale);
        WriteColumn(outputs, column, fold);
    }
}

void ReduceZoomedIn(const uint32_t* source, const ColumnOutputs& outputs,
                    const ColumnLayout& layout, uint32_t subscale) {
    uint64_t pos = layout.first;
    uint32_t repeat = 0;
    for (uint32_t column = layout.lead; column < layout.end; ++column) {
        const uint32_t sample = source[pos];
        WriteColumn(outputs, column, {sample, sample});
        if (++repeat == subscale) {
            ++pos;
            repeat = 0;
        }
    }
}

} // namespace

void ReduceToColumns(const uint32_t* source, uint32_t validSamples, const BufferSummary* summary,
                     const ColumnOutputs& outputs, const ScreenWindow& window) {
    const ColumnLayout layout = LayOutColumns(window, source == nullptr ? 0 : validSamples);
    WriteBlankColumns(outputs, layout, window.length);
    if (layout.lead == layout.end)
        return;
    if (window.scale != 0)
        ReduceZoomedOut(source, summary, outputs, layout, window.scale);
    else
        ReduceZoomedIn(source, outputs, layout, window.subscale);
}

void ScaleDataToScreen(const uint32_t* source, const ColumnOutputs& outputs,
                       const ScreenWindow& window) {
    const buffer::State& state = buffer::Buffer();
    const uint32_t actualCaptureLength = state.actualCaptureLength;
    // One write and one flush for the six lines: the view calls this on every redraw.
    Print("start = %ld\nlength = %ld\nscale = %ld\nsubscale = %ld\nsource = %ld\n"
          "ActualCaptureLength = %ld\n",
          static_cast<long>(window.start), static_cast<long>(window.length),
          static_cast<long>(window.scale), static_cast<long>(window.subscale),
          static_cast<long>(reinterpret_cast<intptr_t>(source)),
          static_cast<long>(actualCaptureLength));

    if (source == nullptr || source != state.samples) {
        ReduceToColumns(source, actualCaptureLength, nullptr, outputs, window);
        return;
    }
    // The library's buffer: never read past its end, and let the summary answer for columns
    // wide enough to hold whole blocks.
    const uint32_t valid = std::min<uint32_t>(actualCaptureLength, state.bufferLength);
    const bool wideColumns =
        window.subscale == 0 && window.scale >= BufferSummary::kBaseBlock;
    const BufferSummary* summary = wideColumns ? SummaryOfLibraryBuffer() : nullptr;
    ReduceToColumns(source, valid, summary, outputs, window);
}

} // namespace podcore::analysis
