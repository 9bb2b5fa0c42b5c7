#include "decoders/two_wire_decoder.h"

#include "decoders/byte_text.h"
#include "decoders/decode_run.h"

#include <algorithm>

namespace norrik::decoders {

namespace {

constexpr const char* kBusNotIdle =
    "Start of waveform screen must be during bus idle time.  "
    "Please scroll screen to start during serial bus idle time.\r\n";

struct Levels {
    bool sda;
    bool scl;
};

// A byte in two characters, uppercase, without a leading zero: " 5", "A0".
void AppendHexField(std::string& text, int value) {
    std::string digits;
    AppendHexDigits(digits, static_cast<uint8_t>(value));
    text += value < 16 ? ' ' : digits[0];
    text += digits[1];
}

class TwoWireDecoder {
public:
    TwoWireDecoder(DecodeRun& run, uint32_t sdaMask, uint32_t sclMask)
        : run_(run), sdaMask_(sdaMask), sclMask_(sclMask) {}

    void Run() {
        const int64_t origin = run_.Origin();
        const Levels first = LevelsOf(run_.Samples().At(origin));
        if (!first.sda || !first.scl) {
            run_.Show(kBusNotIdle);
            return;
        }
        // Step k compares sample k - 1 with the one before it, starting from both lines high;
        // with the screen start at 0 the first sample read is the buffer's last one.
        const uint32_t lines = sdaMask_ | sclMask_;
        uint32_t previous = lines;
        const int64_t end = run_.BufferSamples();
        int64_t k = origin;
        while (k <= end) {
            if (IsProgressMark(k))
                run_.ShowProgress(k);
            // Up to the next progress mark, so that only k itself can be one.
            const int64_t stepsEnd = std::min(end + 1, NextProgressMark(k));
            // While the clock is low nothing but its rise can count, so SDA is not watched.
            const uint32_t watched = (previous & sclMask_) != 0 ? lines : sclMask_;
            const int64_t changed = run_.Samples().FindDiffering(k - 1, stepsEnd - 1, watched,
                                                                 previous & watched);
            if (changed == stepsEnd - 1) {
                k = stepsEnd;
                continue;
            }
            const uint32_t now = run_.Samples().At(changed) & lines;
            Step(LevelsOf(previous), LevelsOf(now));
            previous = now;
            k = changed + 2;
        }
        run_.ReachedPosition(end);
    }

private:
    Levels LevelsOf(uint32_t sample) const {
        return {(sample & sdaMask_) != 0, (sample & sclMask_) != 0};
    }

    void Step(Levels before, Levels now) {
        if (before.scl && !now.scl)
            ClockFell(before);
        else if (before.scl && now.scl && before.sda != now.sda)
            Condition(before.sda ? "START" : "STOP", before.sda);
    }

    void ClockFell(Levels before) {
        std::string& output = run_.Output();
        if (acknowledgeNext_) {
            output += before.sda ? " NACK\r\n" : " ACK\r\n";
            acknowledgeNext_ = false;
            run_.Yield();
        } else if (!afterStart_ && !afterStop_) {
            value_ += bitWeight_ * (before.sda ? 1 : 0);
            bitWeight_ /= 2;
            if (bitWeight_ == 0)
                ByteComplete(output);
        }
        if (afterStart_)
            addressNext_ = true;
        afterStart_ = false;
        afterStop_ = false;
    }

    void ByteComplete(std::string& output) {
        if (addressNext_) {
            output += " SlaveID: ";
            AppendHexField(output, value_);
            output += (value_ & 1) != 0 ? " Read\r\n" : " Write\r\n";
            addressNext_ = false;
        } else {
            AppendHexField(output, value_);
            output += "\r\n";
        }
        run_.Yield();
        value_ = 0;
        acknowledgeNext_ = true;
        bitWeight_ = kFirstBitWeight;
    }

    // SDA changed while SCL stayed high: a start condition when it fell, a stop when it rose.
    // Each sets only its own flag; a stop right after a start leaves the start pending.
    void Condition(const char* name, bool isStart) {
        std::string& output = run_.Output();
        output += "\r\n";
        output += name;
        output += "\r\n";
        (isStart ? afterStart_ : afterStop_) = true;
        addressNext_ = false;
        acknowledgeNext_ = false;
        value_ = 0;
        bitWeight_ = kFirstBitWeight;
        run_.Yield();
    }

    static constexpr int kFirstBitWeight = 128;

    DecodeRun& run_;
    const uint32_t sdaMask_;
    const uint32_t sclMask_;
    int value_ = 0;
    int bitWeight_ = kFirstBitWeight;
    bool afterStart_ = false;
    bool afterStop_ = false;
    bool addressNext_ = false;
    bool acknowledgeNext_ = false;
};

} // namespace

DecodeOutcome RunTwoWireDecode(const DecodeContext& context, const TwoWireSettings& settings,
                               const DecodeHooks& hooks) {
    return RunDecodeProcedure(DecoderKind::TwoWire, context, hooks, [&](DecodeRun& run) {
        const std::optional<uint32_t> sda = run.Mask(settings.sda);
        const std::optional<uint32_t> scl = run.Mask(settings.scl);
        if (sda && scl)
            TwoWireDecoder(run, *sda, *scl).Run();
    });
}

} // namespace norrik::decoders
