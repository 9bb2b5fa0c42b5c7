#include "decoders/spi_decoder.h"

#include "app/number_text.h"
#include "decoders/decode_run.h"

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
    bool samplesOnRising;
    bool msbFirst;
    int value = 0;

    void Sample(uint32_t sample, bool rising) {
        if (rising != samplesOnRising)
            return;
        const int high = (sample & mask) != 0 ? 1 : 0;
        value = msbFirst ? value * 2 + high : value / 2 + high * 128;
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
        int64_t position = run_.Origin();
        while (position != kNoSample) {
            const int64_t selected = run_.FindMatching(position, lines_.slaveSelect, 0);
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
        DataLine dataOut{lines_.dataOut, settings_.dataOutEdge == ClockEdge::Rising,
                         settings_.msbFirst};
        DataLine dataIn{lines_.dataIn, settings_.dataInEdge == ClockEdge::Rising,
                        settings_.msbFirst};
        bool clockHigh = (run_.Samples().At(i) & lines_.clock) != 0;
        for (int transition = 0; transition < kTransitionsPerByte; ++transition) {
            i = run_.FindMatching(i, lines_.clock, clockHigh ? 0 : lines_.clock);
            if (i == kNoSample)
                return kNoSample;
            const uint32_t sample = run_.Samples().At(i);
            if ((sample & lines_.slaveSelect) != 0) {
                run_.YieldAt(i); // deselected: the byte in the making is dropped
                return i;
            }
            clockHigh = !clockHigh;
            dataOut.Sample(sample, clockHigh);
            dataIn.Sample(sample, clockHigh);
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
