// What a decoder's protocol logic works with during one run: the samples, the scratch text it
// writes, the progress bar, and the event pump.
#pragma once

#include "decoders/decode_procedure.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace norrik::decoders {

struct FoundSample {
    int64_t index;
    uint32_t sample;
};

class DecodeRun {
public:
    DecodeRun(const DecodeContext& context, const DecodeHooks& hooks);

    const SampleReader& Samples() const { return context_.samples; }
    int64_t Origin() const { return context_.screenStart; }
    int64_t BufferSamples() const { return context_.bufferSamples; }
    uint8_t RateCode() const { return context_.rateCode; }

    // The scratch text: the decoded lines, shown after the run.
    std::string& Output() { return output_; }

    // A message shown in Text1 at once, outside the scratch text.
    void Show(const std::string& text);

    // The mask of a signal list entry; for a name no list offers, writes a line saying so and
    // gives no value, and the decoder then decodes nothing.
    std::optional<uint32_t> Mask(std::string_view signalName);

    // Draws the progress bar for `position` and remembers it as where the run got to.
    void ShowProgress(int64_t position);

    // Where the run got to, for the final progress bar.
    void ReachedPosition(int64_t position) { reached_ = position; }
    int64_t Reached() const { return reached_; }

    // Lets pending window events run after a decoded unit.
    void Yield();

    // The same, with the screen start following the decoder's running position.
    void YieldAt(int64_t position);

    // From `from` upward, the first sample before the last one that `accepts` takes, drawing
    // the progress bar at each multiple of 2^20 passed on the way. No value when the last
    // sample is reached first: the last sample itself is never examined.
    template <typename Accepts>
    std::optional<FoundSample> FindSample(int64_t from, Accepts&& accepts) {
        constexpr int64_t kProgressStep = 1 << 20;
        const int64_t last = BufferSamples() - 1;
        int64_t i = from;
        for (; i < last; ++i) {
            const uint32_t sample = Samples()(i);
            if (accepts(sample))
                return FoundSample{i, sample};
            if ((i & (kProgressStep - 1)) == 0)
                ShowProgress(i);
        }
        ReachedPosition(i);
        return std::nullopt;
    }

private:
    const DecodeContext& context_;
    const DecodeHooks& hooks_;
    std::string output_;
    int64_t reached_;
};

// Runs the shared procedure around `decode`, the protocol logic of one decoder.
DecodeOutcome RunDecodeProcedure(DecoderKind kind, const DecodeContext& context,
                                 const DecodeHooks& hooks,
                                 const std::function<void(DecodeRun&)>& decode);

} // namespace norrik::decoders
