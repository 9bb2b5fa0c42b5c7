#include "decoders/spi_decoder.h"

#include "app/number_text.h"
#include "decoders/decode_run.h"

#include <array>
#include <bit>
#include <vector>

namespace norrik::decoders {

namespace {

struct SpiLines {
    uint32_t slaveSelect;
    uint32_t clock;
    uint32_t dataOut;
    uint32_t dataIn;
};

// The levels of the four lines over one block of samples, so that an edge costs a few bit
// operations.
struct BlockLevels {
    int64_t start = kNoSample;
    uint64_t slaveSelect = 0;
    uint64_t clock = 0;
    uint64_t dataOut = 0;
    uint64_t dataIn = 0;
    uint64_t clockChanges = 0; // bit j: the clock differs from sample j - 1 (j >= 1)
    bool plain = false;        // no progress mark to draw and the last sample not in this block

    void Refresh(DecodeRun& run, int64_t blockStart, const SpiLines& lines) {
        if (blockStart == start)
            return;
        start = blockStart;
        SampleScanner& samples = run.Samples();
        slaveSelect = samples.Levels(start, lines.slaveSelect);
        clock = samples.Levels(start, lines.clock);
        dataOut = samples.Levels(start, lines.dataOut);
        dataIn = samples.Levels(start, lines.dataIn);
        clockChanges = clock ^ (clock << 1);
        plain = !IsProgressMark(start) && start + SampleScanner::kBlock < run.BufferSamples() - 1;
    }

    static bool At(uint64_t levels, unsigned offset) { return ((levels >> offset) & 1) != 0; }
};

// The bits both data lines show at the rising and at the falling clock edges of one byte, in
// the order they arrive; each line then takes those of its own edge.
struct EdgeBits {
    unsigned risingOut = 0;
    unsigned risingIn = 0;
    unsigned fallingOut = 0;
    unsigned fallingIn = 0;

    void Add(bool rising, bool dataOut, bool dataIn) {
        if (rising) {
            risingOut = risingOut << 1 | (dataOut ? 1 : 0);
            risingIn = risingIn << 1 | (dataIn ? 1 : 0);
        } else {
            fallingOut = fallingOut << 1 | (dataOut ? 1 : 0);
            fallingIn = fallingIn << 1 | (dataIn ? 1 : 0);
        }
    }

    // A line's byte from the bits of its edge: "msb first" puts the first bit highest, "lsb
    // first" lowest.
    static uint8_t Byte(unsigned bits, bool msbFirst) {
        const auto byte = static_cast<uint8_t>(bits);
        return msbFirst ? byte : kReversed[byte];
    }

private:
    static constexpr std::array<uint8_t, 256> kReversed = [] {
        std::array<uint8_t, 256> reversed{};
        for (unsigned value = 0; value < 256; ++value) {
            for (int place = 0; place < 8; ++place)
                reversed[value] |= static_cast<uint8_t>(((value >> place) & 1) << (7 - place));
        }
        return reversed;
    }();
};

// "Hex" mode collects byte pairs into rows of the chosen length. The row grows as needed, so
// any row length works.
class HexRows {
public:
    explicit HexRows(double rowLength) : rowLength_(rowLength) {}

    void Add(std::string& output, uint8_t dataOut, uint8_t dataIn) {
        dataOut_.push_back(dataOut);
        dataIn_.push_back(dataIn);
        if (rowLength_ <= static_cast<double>(dataOut_.size()))
            Flush(output);
    }

    void Flush(std::string& output) {
        if (dataOut_.empty())
            return;
        WriteLine(output, "SO: ", dataOut_);
        WriteLine(output, "SI: ", dataIn_);
        output += "\r\n";
        dataOut_.clear();
        dataIn_.clear();
    }

private:
    static void WriteLine(std::string& output, const char* label,
                          const std::vector<uint8_t>& bytes) {
        output += label;
        AppendHexValues(output, bytes);
        output += "\r\n";
    }

    const double rowLength_;
    std::vector<uint8_t> dataOut_;
    std::vector<uint8_t> dataIn_;
};

class SpiDecoder {
public:
    SpiDecoder(DecodeRun& run, const SpiLines& lines, const SpiSettings& settings)
        : run_(run), lines_(lines), settings_(settings),
          rows_(LeadingNumber(settings.bytesPerRow)) {}

    // Byte after byte until the end of the buffer; a deselect drops the byte in the making.
    void Run() {
        int64_t position = run_.Origin();
        while (position != kNoSample) {
            const int64_t selected = run_.FindLevel(position, lines_.slaveSelect, false);
            if (selected == kNoSample)
                break;
            position = CollectByte(selected);
        }
        if (settings_.display == DisplayMode::Hex)
            rows_.Flush(run_.Output());
    }

private:
    static constexpr int kTransitionsPerByte = 16;

    // Collects one byte pair from `i` on and gives where the next search starts; kNoSample
    // at the end of the buffer.
    int64_t CollectByte(int64_t i) {
        EdgeBits bits;
        BlockLevels& levels = levels_;
        levels.Refresh(run_, SampleScanner::BlockStart(i), lines_);
        bool clockHigh = BlockLevels::At(levels.clock, static_cast<unsigned>(i - levels.start));
        for (int transition = 0; transition < kTransitionsPerByte; ++transition) {
            i = NextClockEdge(i, clockHigh, levels);
            if (i == kNoSample)
                return kNoSample;
            const auto offset = static_cast<unsigned>(i - levels.start);
            if (BlockLevels::At(levels.slaveSelect, offset)) {
                run_.YieldAt(i); // deselected: the byte in the making is dropped
                return i;
            }
            clockHigh = !clockHigh;
            bits.Add(clockHigh, BlockLevels::At(levels.dataOut, offset),
                     BlockLevels::At(levels.dataIn, offset));
        }
        const bool outOnRising = settings_.dataOutEdge == ClockEdge::Rising;
        const bool inOnRising = settings_.dataInEdge == ClockEdge::Rising;
        const bool msbFirst = settings_.msbFirst;
        WritePair(EdgeBits::Byte(outOnRising ? bits.risingOut : bits.fallingOut, msbFirst),
                  EdgeBits::Byte(inOnRising ? bits.risingIn : bits.fallingIn, msbFirst));
        run_.YieldAt(i);
        return i;
    }

    // The first sample after `i` whose clock level differs from `clockHigh`, the level at i;
    // `levels` holds the block of i and is left holding the block of the edge.
    int64_t NextClockEdge(int64_t i, bool clockHigh, BlockLevels& levels) {
        // Most edges lie in the same block, where the clock's changes answer at once.
        const auto offset = static_cast<unsigned>(i - levels.start);
        const uint64_t later = levels.clockChanges & (~uint64_t{1} << offset);
        if (later != 0 && levels.plain)
            return levels.start + std::countr_zero(later);
        return run_.FindInBlocks(i, [&](int64_t start) {
            levels.Refresh(run_, start, lines_);
            return clockHigh ? ~levels.clock : levels.clock;
        });
    }

    void WritePair(uint8_t dataOut, uint8_t dataIn) {
        std::string& output = run_.Output();
        switch (settings_.display) {
        case DisplayMode::Hex:
            rows_.Add(output, dataOut, dataIn);
            break;
        case DisplayMode::Ascii:
            AppendShownCharacter(output, dataOut);
            output += "  ";
            AppendShownCharacter(output, dataIn);
            output += "\r\n";
            break;
        case DisplayMode::Both:
            AppendQuotedByte(output, dataOut);
            output += "  ";
            AppendQuotedByte(output, dataIn);
            output += "\r\n";
            break;
        }
    }

    DecodeRun& run_;
    const SpiLines lines_;
    const SpiSettings& settings_;
    BlockLevels levels_; // the block of the latest edge
    HexRows rows_;
};

} // namespace

DecodeOutcome RunSpiDecode(const DecodeContext& context, const SpiSettings& settings,
                           const DecodeHooks& hooks) {
    return RunDecodeProcedure(DecoderKind::Spi, context, hooks, [&](DecodeRun& run) {
        const std::optional<uint32_t> slaveSelect = run.Mask(settings.slaveSelect);
        const std::optional<uint32_t> clock = run.Mask(settings.clock);
        const std::optional<uint32_t> dataOut = run.Mask(settings.dataOut);
        const std::optional<uint32_t> dataIn = run.Mask(settings.dataIn);
        if (slaveSelect && clock && dataOut && dataIn)
            SpiDecoder(run, {*slaveSelect, *clock, *dataOut, *dataIn}, settings).Run();
    });
}

} // namespace norrik::decoders
