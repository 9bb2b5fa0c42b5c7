#include "decoders/byte_text.h"
#include "decoders/decode_run.h"
#include "decoders/signal_names.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace norrik::decoders {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Lines(std::span<const std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

// One "Both"-style line per character of a name.
std::string QuotedLines(std::string_view name) {
    std::string text;
    for (const char character : name) {
        AppendQuotedByte(text, static_cast<uint8_t>(character));
        text += kLineEnd;
    }
    return text;
}

// The 2-wire demo transaction, in its own wording.
constexpr std::array<std::string_view, 28> kTwoWireDemoLines = {
    "Start",
    "A1 Control Byte: Slave Address 50 Read",
    " ACK",
    "0",
    " NACK",
    "Start",
    "A0 Control Byte: Slave Address 50 Write",
    " ACK",
    "0",
    " ACK",
    "Start",
    "A1 Control Byte: Slave Address 50 Read",
    " ACK",
    "C0",
    "47",
    " ACK",
    "5",
    " ACK",
    "3",
    " ACK",
    "0",
    "8",
    " ACK",
    "0",
    " ACK",
    "0",
    " NACK",
    "Stop"};

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

std::string HeaderText(DecoderKind kind) {
    std::string_view start;
    switch (kind) {
    case DecoderKind::Serial:
        start = "Decoding Asynchronous serial bus transactions from the beginning of the "
                "waveform screen.";
        break;
    case DecoderKind::TwoWire:
        start = "Decoding 2-wire serial bus transactions from the beginning of the waveform "
                "screen.";
        break;
    case DecoderKind::Spi:
        start = "Decoding SPI serial bus transactions from the beginning of the waveform screen.";
        break;
    }
    const std::array<std::string_view, 2> lines = {start, "Please wait..."};
    return Lines(lines);
}

std::string DemoText(DecoderKind kind) {
    switch (kind) {
    case DecoderKind::Serial:
        return HeaderText(kind) + QuotedLines("Plinket KT");
    case DecoderKind::Spi:
        return HeaderText(kind) + QuotedLines("Norrik");
    case DecoderKind::TwoWire:
        break;
    }
    return Lines(kTwoWireDemoLines);
}

double ProgressFraction(int64_t position, int64_t origin, int64_t bufferSamples) {
    if (bufferSamples <= origin)
        return 1.0;
    const double fraction =
        static_cast<double>(position - origin) / static_cast<double>(bufferSamples - origin);
    return std::clamp(fraction, 0.0, 1.0);
}

DecodeHooks TextHooks(std::string& text) {
    DecodeHooks hooks;
    hooks.replaceText = [&text](const std::string& replacement) { text = replacement; };
    hooks.appendText = [&text](const std::string& addition) { text += addition; };
    return hooks;
}

DecodeRun::DecodeRun(const DecodeContext& context, const DecodeHooks& hooks)
    : context_(context), hooks_(hooks), scanner_(context.samples),
      // A caller that takes the items gets no text and no scratch file.
      scratch_(hooks.items == nullptr ? context.scratchFile : std::string()), sink_(hooks.items),
      reached_(Origin()), nextText_(Clock::now() + hooks.textInterval) {}

void DecodeRun::PassOnOutput() {
    if (output_.empty())
        return;
    scratch_.Append(output_);
    if (hooks_.appendText)
        hooks_.appendText(output_);
    output_.clear();
}

void DecodeRun::Show(const std::string& text) {
    PassOnOutput();
    if (hooks_.appendText)
        hooks_.appendText(text);
}

std::optional<uint32_t> DecodeRun::Mask(std::string_view signalName) {
    const std::optional<uint32_t> mask = SignalMask(signalName);
    if (!mask)
        Problem("Unknown signal \"" + std::string(signalName) +
                "\": choose one of the listed signals." + std::string(kLineEnd));
    return mask;
}

void DecodeRun::ShowProgress(int64_t position) {
    reached_ = position;
    if (hooks_.progress)
        hooks_.progress(ProgressFraction(position, Origin(), BufferSamples()));
}

void DecodeRun::Yield() {
    const Clock::time_point now = Clock::now();
    if (now >= nextText_) {
        PassOnOutput();
        nextText_ = now + hooks_.textInterval;
    }
    if (now < nextEvents_)
        return;
    nextEvents_ = now + hooks_.eventInterval;
    if (hooks_.processEvents)
        hooks_.processEvents();
    if (hooks_.cancelRequested && hooks_.cancelRequested())
        throw RunCancelled{};
}

void DecodeRun::YieldAt(int64_t position) {
    reached_ = position;
    if (hooks_.setScreenStart)
        hooks_.setScreenStart(ClampToInt32(position));
    Yield();
}

DecodeOutcome RunDecodeProcedure(DecoderKind kind, const DecodeContext& context,
                                 const DecodeHooks& hooks,
                                 const std::function<void(DecodeRun&)>& decode) {
    DecodeRun run(context, hooks);
    DecodeOutcome outcome;
    try {
        // The serial and SPI windows add their demo lines to what Text1 already holds.
        const bool showsHeader = kind == DecoderKind::TwoWire || !context.demoMode;
        if (showsHeader) {
            if (hooks.replaceText)
                hooks.replaceText(HeaderText(kind));
            run.Yield();
        }
        if (context.demoMode)
            run.Output() = DemoText(kind);
        else
            decode(run);
        run.ShowProgress(run.Reached());
    } catch (const RunCancelled&) {
        outcome.cancelled = true;
    }

    if (hooks.items == nullptr) {
        // Text1 gets the text from memory, so a scratch file that cannot be written loses
        // nothing.
        run.PassOnOutput();
        outcome.scratchFileWritten = run.CloseScratchFile();
    }
    if (hooks.setScreenStart)
        hooks.setScreenStart(context.screenStart);
    return outcome;
}

} // namespace norrik::decoders
