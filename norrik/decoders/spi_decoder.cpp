#include "decoders/spi_decoder.h"

#include "app/number_text.h"
#include "decoders/decode_run.h"

#include <optional>
#include <vector>

namespace norrik::decoders {

namespace {

struct SpiLines {
    uint32_t slaveSelect;
    uint32_t clock;
    uint32_t dataOut;
    uint32_t dataIn;
};

// One data line's byte in the making.
struct DataLine {
    uint32_t mask;
    ClockEdge edge;
    int value = 0;

    void Sample(uint32_t sample, ClockEdge transition, bool msbFirst) {
        if (transition != edge)
            return;
        const bool high = (sample & mask) != 0;
        value = msbFirst ? value * 2 + (high ? 1 : 0) : value / 2 + (high ? 128 : 0);
    }
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
        for (const uint8_t value : bytes) {
            AppendHexDigits(output, value);
            output += ' ';
        }
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
        std::optional<int64_t> position = run_.Origin();
        while (position) {
            const auto selected = run_.FindSample(
                *position, [this](uint32_t sample) { return Selected(sample); });
            if (!selected)
                break;
            position = CollectByte(selected->index);
        }
        if (settings_.display == DisplayMode::Hex)
            rows_.Flush(run_.Output());
    }

private:
    static constexpr int kTransitionsPerByte = 16;

    bool Selected(uint32_t sample) const { return (sample & lines_.slaveSelect) == 0; }
    bool ClockHigh(uint32_t sample) const { return (sample & lines_.clock) != 0; }

    // Collects one byte pair from `i` on and gives where the next search starts; no value at
    // the end of the buffer.
    std::optional<int64_t> CollectByte(int64_t i) {
        DataLine dataOut{lines_.dataOut, settings_.dataOutEdge};
        DataLine dataIn{lines_.dataIn, settings_.dataInEdge};
        for (int transition = 0; transition < kTransitionsPerByte; ++transition) {
            const bool clockWasHigh = ClockHigh(run_.Samples()(i));
            const auto edge = run_.FindSample(i, [this, clockWasHigh](uint32_t sample) {
                return ClockHigh(sample) != clockWasHigh;
            });
            if (!edge)
                return std::nullopt;
            i = edge->index;
            if (!Selected(edge->sample)) {
                run_.YieldAt(i);
                return i;
            }
            const ClockEdge kind = clockWasHigh ? ClockEdge::Falling : ClockEdge::Rising;
            dataOut.Sample(edge->sample, kind, settings_.msbFirst);
            dataIn.Sample(edge->sample, kind, settings_.msbFirst);
        }
        WritePair(static_cast<uint8_t>(dataOut.value), static_cast<uint8_t>(dataIn.value));
        run_.YieldAt(i);
        return i;
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
