// The procedure the three decoder windows share around their protocol logic: the header lines,
// the demo output, progress and event pumping during the run, the scratch file, and putting the
// screen start back. A window (or the command line) passes the application state it decodes
// from and hooks that show the run; the same text arrives through the hooks either way.
#pragma once

#include "decoders/decoded_item.h"
#include "decoders/sample_reader.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace norrik::decoders {

enum class DecoderKind { Serial, TwoWire, Spi };

// What a run takes from the application state when the decode button is pressed.
struct DecodeContext {
    SampleReader samples{std::span<const uint32_t>{}};
    // ScreenStart (DecodeOrigin), put back when the run ends. Decoding begins there, or at
    // sample 0 when the screen starts before the capture: there are no samples before it.
    int32_t screenStart = 0;
    int32_t bufferSamples = 0; // BufferSamples
    uint8_t rateCode = 0;      // RateCode element 0, used by the serial decoder
    bool demoMode = false;     // DemoMode: write the fixed demo lines instead of decoding
    std::string scratchFile = "temp.fil";
};

// How a window shows a run. Every hook may be left empty. The window itself sets the status
// caption and clears the progress bar before the run, and sets "Complete" after it.
struct DecodeHooks {
    std::function<void(const std::string& text)> replaceText; // Text1 becomes `text`
    std::function<void(const std::string& text)> appendText;  // `text` is added to Text1
    std::function<void(double fraction)> progress;        // bar from the left to width x fraction
    std::function<void(int32_t position)> setScreenStart; // the decoder's running position
    std::function<void()> processEvents;                  // let pending window events run
    // Asked after each time window events ran: true ends the run there, the text so far kept.
    std::function<bool()> cancelRequested;

    // The least time between two event pumps after decoded units; zero pumps after every unit.
    std::chrono::milliseconds eventInterval{0};
    // The least time between two passes of decoded text to appendText (and the scratch file)
    // while the run goes on; what is left follows at the end.
    std::chrono::milliseconds textInterval{100};
    // When set, the decoded items and any problem with the settings go here instead of into
    // the text; the run then writes no text and no scratch file.
    ItemSink* items = nullptr;
};

struct DecodeOutcome {
    // False when the scratch file could not be written; the text reached Text1 all the same.
    bool scratchFileWritten = false;
    // True when cancelRequested ended the run before the end of the buffer.
    bool cancelled = false;
};

// The two lines that replace Text1 when a run starts: the start message, "Please wait...".
std::string HeaderText(DecoderKind kind);

// What demo mode writes to the scratch file in place of decoding.
std::string DemoText(DecoderKind kind);

// The share of the way from the origin to the end of the buffer that `position` marks, 0 to 1.
double ProgressFraction(int64_t position, int64_t origin, int64_t bufferSamples);

// Hooks that keep Text1 as a plain string, for callers without a window.
DecodeHooks TextHooks(std::string& text);

} // namespace norrik::decoders
