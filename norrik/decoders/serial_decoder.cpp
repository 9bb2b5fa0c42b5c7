#include "decoders/serial_decoder.h"

#include "app/acquisition_settings.h"
#include "app/number_text.h"
#include "decoders/decode_run.h"
#include "decoders/item_text.h"

namespace norrik::decoders {

namespace {

class SerialDecoder {
public:
    SerialDecoder(DecodeRun& run, SerialText& text, uint32_t mask, const SerialSettings& settings,
                  const std::function<SerialSettings()>& currentSettings)
        : run_(run), text_(text), mask_(mask), settings_(settings),
          currentSettings_(currentSettings) {}

    // Character after character until the end of the buffer or the first stop bit that reads
    // low: there is no resynchronisation after a framing error.
    void Run() {
        int64_t position = run_.Origin();
        for (;;) {
            if (currentSettings_)
                settings_ = currentSettings_();
            text_.SetDisplay(settings_.display);
            const double baud = LeadingNumber(settings_.baudRate);
            if (!(baud > 0)) {
                run_.Problem("Baud Rate must be a number greater than 0.\r\n");
                return;
            }
            // The start bit: the line low, which is the signal's bit set when inverted.
            const int64_t start = run_.FindLevel(position, mask_, !settings_.normal);
            if (start == kNoSample)
                return;
            const double bitTime = SampleRateOfCode(run_.RateCode()) / baud;
            const int64_t stop = DecodeCharacter(start, bitTime);
            if (!LineHighAt(stop)) {
                run_.Emit({run_.InBuffer(stop), run_.InBuffer(stop), ItemKind::StopBitError});
                run_.ReachedPosition(stop);
                return;
            }
            position = stop;
            run_.YieldAt(stop);
        }
    }

private:
    bool LineHighAt(int64_t index) const {
        return (WithPolarity(run_.Samples().At(index), settings_.normal) & mask_) != 0;
    }

    // Reads the data bits of the character whose start bit begins at `start`, emits the
    // character, from its start bit to the middle of its stop bit, and gives the sample index of the middle of its stop bit.
    int64_t DecodeCharacter(int64_t start, double bitTime) {
        const bool seven = settings_.frame == SerialFrame::SevenDataBitsParity;
        const int dataBits = seven ? 7 : 8;
        double at = static_cast<double>(start) + bitTime / 2;
        int value = 0;
        for (int bit = 0; bit < dataBits; ++bit) {
            at += bitTime;
            if (LineHighAt(RoundHalfEven(at)))
                value += settings_.msbFirst ? 1 << (dataBits - 1 - bit) : 1 << bit;
        }
        if (seven)
            at += bitTime; // the parity bit is not checked
        at += bitTime;
        const int64_t stop = RoundHalfEven(at);
        run_.Emit({run_.InBuffer(start), run_.InBuffer(stop), ItemKind::Byte,
                   static_cast<uint8_t>(value)});
        return stop;
    }

    DecodeRun& run_;
    SerialText& text_;
    const uint32_t mask_;
    SerialSettings settings_;
    const std::function<SerialSettings()>& currentSettings_;
};

} // namespace

double SampleRateOfCode(uint8_t rateCode) {
    for (const RateChoice& rate : kRates) {
        if (rate.code == rateCode)
            return (rate.code - 7) / 10.0 * 1e6;
    }
    return 0;
}

DecodeOutcome RunSerialDecode(const DecodeContext& context, const SerialSettings& settings,
                              const DecodeHooks& hooks,
                              const std::function<SerialSettings()>& currentSettings) {
    return RunDecodeProcedure(DecoderKind::Serial, context, hooks, [&](DecodeRun& run) {
        SerialText text(run.Output(), settings.display);
        run.WriteTextWith(text);
        const std::optional<uint32_t> mask = run.Mask(settings.signal);
        if (mask)
            SerialDecoder(run, text, *mask, settings, currentSettings).Run();
        run.EndItems();
    });
}

} // namespace norrik::decoders
