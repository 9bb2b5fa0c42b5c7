#include "decoders/spi_decoder.h"

#include "app/number_text.h"
#include "decoders/decode_run.h"
#include "decoders/item_text.h"

#include <array>
#include <bit>

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

// The levels both data lines show at the 16 transitions of one byte, the first transition in
// the highest place. Transitions alternate between rising and falling, so each line's byte is
// every other bit: those of its own edge.
struct TransitionBits {
    int count = 0;
    unsigned dataOut = 0;
    unsigned dataIn = 0;

    void Add(bool out, bool in) {
        dataOut = dataOut << 1 | (out ? 1 : 0);
        dataIn = dataIn << 1 | (in ? 1 : 0);
        ++count;
    }

    // A line's byte from the transitions of one direction; `firstRising` tells which those are.
    // "msb first" puts the first bit highest, "lsb first" lowest.
    static uint8_t Byte(unsigned bits, bool ofRising, bool firstRising, bool msbFirst) {
        const auto byte = EveryOtherBit(ofRising == firstRising ? bits >> 1 : bits);
        return msbFirst ? byte : kReversed[byte];
    }

private:
    // Bits 0, 2, ... 14 of `bits`, packed into bits 0 to 7 in the same order.
    static uint8_t EveryOtherBit(unsigned bits) {
        bits &= 0x5555;
        bits = (bits | bits >> 1) & 0x3333;
        bits = (bits | bits >> 2) & 0x0F0F;
        bits = (bits | bits >> 4) & 0x00FF;
        return static_cast<uint8_t>(bits);
    }

    static constexpr std::array<uint8_t, 256> kReversed = [] {
        std::array<uint8_t, 256> reversed{};
        for (unsigned value = 0; value < 256; ++value) {
            for (int place = 0; place < 8; ++place)
                reversed[value] |= static_cast<uint8_t>(((value >> place) & 1) << (7 - place));
        }
        return reversed;
    }();
};

class SpiDecoder {
public:
    SpiDecoder(DecodeRun& run, const SpiLines& lines, const SpiSettings& settings)
        : run_(run), lines_(lines), settings_(settings) {}

    // Byte after byte until the end of the buffer; a deselect drops the byte in the making.
    void Run() {
        int64_t position = run_.Origin();
        while (position != kNoSample) {
            const int64_t selected = run_.FindLevel(position, lines_.slaveSelect, false);
            if (selected == kNoSample)
                break;
            position = CollectByte(selected);
        }
    }

private:
    static constexpr int kTransitionsPerByte = 16;

    // Collects one byte pair from `i` on and gives where the next search starts; kNoSample
    // at the end of the buffer.
    int64_t CollectByte(int64_t i) {
        BlockLevels& levels = levels_;
        levels.Refresh(run_, SampleScanner::BlockStart(i), lines_);
        const bool startsHigh = BlockLevels::At(levels.clock, Offset(i));
        TransitionBits bits;
        int64_t firstTransition = i;
        uint64_t edges = levels.clockChanges & (~uint64_t{1} << Offset(i)); // after i
        while (bits.count < kTransitionsPerByte) {
            const bool clockHigh = startsHigh != (bits.count % 2 == 1);
            if (!levels.plain) {
                // A progress mark or the end of the buffer: the one next edge, found by the
                // search that handles them.
                i = run_.FindInBlocks(i, [&](int64_t start) {
                    levels.Refresh(run_, start, lines_);
                    return clockHigh ? ~levels.clock : levels.clock;
                });
                if (i == kNoSample)
                    return kNoSample;
                edges = uint64_t{1} << Offset(i);
                if (levels.plain)
                    edges |= levels.clockChanges & (~uint64_t{1} << Offset(i));
            } else if (edges == 0) {
                // On to the next block, its first sample compared with the last of this one.
                levels.Refresh(run_, levels.start + SampleScanner::kBlock, lines_);
                edges = levels.clock ^ (levels.clock << 1 | (clockHigh ? 1 : 0));
                continue;
            }
            // The clock's edges in this block, taken in order.
            for (; edges != 0 && bits.count < kTransitionsPerByte; edges &= edges - 1) {
                const auto offset = static_cast<unsigned>(std::countr_zero(edges));
                i = levels.start + offset;
                if (BlockLevels::At(levels.slaveSelect, offset)) {
                    run_.YieldAt(i); // deselected: the byte in the making is dropped
                    return i;
                }
                if (bits.count == 0)
                    firstTransition = i;
                bits.Add(BlockLevels::At(levels.dataOut, offset),
                         BlockLevels::At(levels.dataIn, offset));
            }
        }
        const bool firstRising = !startsHigh;
        const bool msbFirst = settings_.msbFirst;
        const bool outOnRising = settings_.dataOutEdge == ClockEdge::Rising;
        const bool inOnRising = settings_.dataInEdge == ClockEdge::Rising;
        // The pair spans its sixteen clock transitions.
        run_.Emit({firstTransition, i, ItemKind::Pair,
                   TransitionBits::Byte(bits.dataOut, outOnRising, firstRising, msbFirst),
                   TransitionBits::Byte(bits.dataIn, inOnRising, firstRising, msbFirst)});
        run_.YieldAt(i);
        return i;
    }

    unsigned Offset(int64_t i) const { return static_cast<unsigned>(i - levels_.start); }

    DecodeRun& run_;
    const SpiLines lines_;
    const SpiSettings& settings_;
    BlockLevels levels_; // the block of the latest edge
};

} // namespace

DecodeOutcome RunSpiDecode(const DecodeContext& context, const SpiSettings& settings,
                           const DecodeHooks& hooks) {
    return RunDecodeProcedure(DecoderKind::Spi, context, hooks, [&](DecodeRun& run) {
        SpiText text(run.Output(), settings.display, LeadingNumber(settings.bytesPerRow));
        run.WriteTextWith(text);
        const std::optional<uint32_t> slaveSelect = run.Mask(settings.slaveSelect);
        const std::optional<uint32_t> clock = run.Mask(settings.clock);
        const std::optional<uint32_t> dataOut = run.Mask(settings.dataOut);
        const std::optional<uint32_t> dataIn = run.Mask(settings.dataIn);
        if (slaveSelect && clock && dataOut && dataIn)
            SpiDecoder(run, {*slaveSelect, *clock, *dataOut, *dataIn}, settings).Run();
        run.EndItems();
    });
}

} // namespace norrik::decoders
