// The rate and buffer-size choices and their arithmetic, apart from the lists that show them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norrik {

struct RateChoice {
    const char* label;
    uint8_t code; // rate in MHz x 10 + 7
};

// Fastest first; the labels of the one-digit rates begin with a blank.
constexpr std::array<RateChoice, 9> kRates = {{{"24 Msps", 247},
                                               {"16 Msps", 167},
                                               {"12 Msps", 127},
                                               {" 8 Msps", 87},
                                               {" 6 Msps", 67},
                                               {" 4 Msps", 47},
                                               {" 3 Msps", 37},
                                               {" 2 Msps", 27},
                                               {" 1 Msps", 17}}};

constexpr uint8_t kStartupRateCode = 27;

// The code of a rate label, if the text is one of the labels.
std::optional<uint8_t> RateCodeOfLabel(std::string_view label);

// The rate a capture with this code runs at, as the label beside the size list shows it:
// "at 2Msps". The pod runs a code that is no rate at its fastest rate.
std::string CaptureRateText(uint8_t rateCode);

// The rate of one of the nine codes in samples per second; nothing for any other code.
std::optional<uint64_t> RateHzOfCode(uint8_t code);

// Label of size entry k million samples: " 1 Million Samples".
std::string SizeLabel(int millions);

// Buffer size for size-list entry i: the smallest multiple of 65536 not below (i+1) million.
int32_t BufferSamplesForEntry(int entry);

// How many size entries the memory advice allows.
int SizeEntries(int32_t maxBufferSamples);

// The size entry that shows a buffer of this many samples; -1 for below a million.
int SizeEntryOf(int32_t bufferSamples);

} // namespace norrik
