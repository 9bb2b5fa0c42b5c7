// What a decoder's protocol logic works with during one run: the samples, the scratch text it
// writes, the progress bar, and the event pump.
#pragma once

#include "decoders/decode_procedure.h"
#include "decoders/sample_scanner.h"
#include "decoders/scratch_file.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace norrik::decoders {

// The progress bar is drawn at sample indexes that are multiples of this.
constexpr int64_t kProgressStep = int64_t{1} << 20;

inline bool IsProgressMark(int64_t position) {
    return (position & (kProgressStep - 1)) == 0;
}

// The first multiple of kProgressStep above `position`.
inline int64_t NextProgressMark(int64_t position) {
    return (position | (kProgressStep - 1)) + 1;
}

// What a search gives when it finds nothing.
constexpr int64_t kNoSample = std::numeric_limits<int64_t>::max();

class DecodeRun {
public:
    DecodeRun(const DecodeContext& context, const DecodeHooks& hooks);

    // Every sample the decoders read comes through here.
    SampleScanner& Samples() { return scanner_; }
    // Where decoding begins: the screen start, or sample 0 for a screen that starts before it.
    int64_t Origin() const { return std::max<int64_t>(context_.screenStart, 0); }
    int64_t BufferSamples() const { return context_.bufferSamples; }
    uint8_t RateCode() const { return context_.rateCode; }

    // The scratch text: the decoded lines not yet passed on. They go to the scratch file and
    // Text1 in batches while the run yields, and the rest at its end.
    std::string& Output() { return output_; }

    // Passes the decoded lines so far on and empties Output().
    void PassOnOutput();

    // False once the scratch file could not be created or written.
    bool CloseScratchFile() { return scratch_.Close(); }

    // A message shown in Text1 at once, after the lines decoded before it, outside the scratch
    // text.
    void Show(const std::string& text);

    // The decoder's writer of its text, which receives the items unless the caller takes them.
    void WriteTextWith(ItemSink& text) {
        if (hooks_.items == nullptr)
            sink_ = &text;
    }
    void Emit(const DecodedItem& item) {
        if (sink_ != nullptr)
            sink_->Add(item);
    }
    // A setting that keeps the decoder from decoding.
    void Problem(const std::string& message) {
        if (sink_ != nullptr)
            sink_->Problem(message);
    }
    // The decoder's last call, while its text writer still lives; the items end there.
    void EndItems() {
        if (sink_ != nullptr)
            sink_->End();
        sink_ = nullptr;
    }

    // `index` moved into the buffer, for the samples an item names: the scan reads the last
    // sample for indexes before 0 and after the end.
    int64_t InBuffer(int64_t index) const {
        return std::clamp<int64_t>(index, 0, std::max<int64_t>(BufferSamples() - 1, 0));
    }

    // The mask of a signal list entry; for a name no list offers, reports a problem saying so
    // and gives no value, and the decoder then decodes nothing.
    std::optional<uint32_t> Mask(std::string_view signalName);

    // Draws the progress bar for `position` and remembers it as where the run got to.
    void ShowProgress(int64_t position);

    // Draws the progress bar for each multiple of 2^20 in [from, end). A serial position can
    // lie far beyond the buffer, so nothing is computed from `from` unless it lies before end.
    void ShowProgressMarks(int64_t from, int64_t end) {
        if (from >= end)
            return;
        for (int64_t mark = NextProgressMark(from - 1); mark < end; mark += kProgressStep)
            ShowProgress(mark);
    }

    // Where the run got to, for the final progress bar.
    void ReachedPosition(int64_t position) { reached_ = position; }
    int64_t Reached() const { return reached_; }

    // After a decoded unit: passes the text on and lets pending window events run, each at
    // the rate the hooks allow. Throws RunCancelled when the hooks ask for the run to end.
    void Yield();

    // The same, with the screen start following the decoder's running position.
    void YieldAt(int64_t position);

    // From `from` upward, the first index before the last sample at which `line` (a one-bit
    // mask; 0 for a line that is always low) is high, or low; kNoSample when the last sample
    // is reached first, which is never examined. The progress bar is drawn for each multiple
    // of 2^20 passed on the way.
    int64_t FindLevel(int64_t from, uint32_t line, bool high) {
        const int64_t last = BufferSamples() - 1;
        int64_t found = last;
        if (line == 0)
            found = high ? last : std::min(from, last);
        else if (from < last)
            found = scanner_.FindDiffering(from, last, line, high ? 0 : line);
        if (found < last) {
            ShowProgressMarks(from, found);
            return found;
        }
        ShowProgressMarks(from, last);
        ReachedPosition(std::max(from, last));
        return kNoSample;
    }

    // A search like FindLevel for any condition that `bitsOf(start)` gives as the bits of the
    // block starting at `start`. Decoders that look at every clock edge run this, hence the bit
    // masks and the plain index rather than an optional.
    template <typename BlockBits> int64_t FindInBlocks(int64_t from, BlockBits&& bitsOf) {
        const int64_t last = BufferSamples() - 1;
        for (int64_t i = from; i < last;) {
            const int64_t start = SampleScanner::BlockStart(i);
            uint64_t hits = bitsOf(start) & (~uint64_t{0} << (i - start));
            if (last - start < SampleScanner::kBlock)
                hits &= (uint64_t{1} << (last - start)) - 1;
            if (hits != 0) {
                const int64_t found = start + std::countr_zero(hits);
                ShowProgressMarks(from, found);
                return found;
            }
            i = start + SampleScanner::kBlock;
        }
        ShowProgressMarks(from, last);
        ReachedPosition(std::max(from, last));
        return kNoSample;
    }

private:
    using Clock = std::chrono::steady_clock;

    const DecodeContext& context_;
    const DecodeHooks& hooks_;
    SampleScanner scanner_;
    ScratchFile scratch_;
    std::string output_;
    ItemSink* sink_;
    int64_t reached_;
    Clock::time_point nextText_;   // when decoded text may next be passed on
    Clock::time_point nextEvents_; // likewise for window events; the first yield always pumps
};

// Thrown by DecodeRun::Yield to end a cancelled run; the procedure catches it.
struct RunCancelled {};

// Runs the shared procedure around `decode`, the protocol logic of one decoder.
DecodeOutcome RunDecodeProcedure(DecoderKind kind, const DecodeContext& context,
                                 const DecodeHooks& hooks,
                                 const std::function<void(DecodeRun&)>& decode);

} // namespace norrik::decoders
