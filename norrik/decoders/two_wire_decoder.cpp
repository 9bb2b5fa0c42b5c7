#include "decoders/two_wire_decoder.h"

#include "decoders/decode_run.h"
#include "decoders/item_text.h"

#include <algorithm>

namespace norrik::decoders {

namespace {

struct Levels {
    bool sda;
    bool scl;
};

class TwoWireDecoder {
public:
    TwoWireDecoder(DecodeRun& run, uint32_t sdaMask, uint32_t sclMask)
        : run_(run), sdaMask_(sdaMask), sclMask_(sclMask) {}

    void Run() {
        const int64_t origin = run_.Origin();
        const Levels first = LevelsOf(run_.Samples().At(origin));
        if (!first.sda || !first.scl) {
            run_.Emit({run_.InBuffer(origin), run_.InBuffer(origin), ItemKind::BusNotIdle});
            return;
        }
        unitBegin_ = run_.InBuffer(origin);
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
            Step(LevelsOf(previous), LevelsOf(now), run_.InBuffer(changed));
            previous = now;
            k = changed + 2;
        }
        run_.ReachedPosition(end);
    }

private:
    Levels LevelsOf(uint32_t sample) const {
        return {(sample & sdaMask_) != 0, (sample & sclMask_) != 0};
    }

    // `at` is the sample that shows the new levels.
    void Step(Levels before, Levels now, int64_t at) {
        if (before.scl && !now.scl)
            ClockFell(before, at);
        else if (before.scl && now.scl && before.sda != now.sda)
            Condition(before.sda ? ItemKind::Start : ItemKind::Stop, at);
    }

    // A byte or acknowledge runs from the clock edge that ended the unit before it to the last
    // sample before the clock edge that ends it.
    void ClockFell(Levels before, int64_t at) {
        if (acknowledgeNext_) {
            Emit(before.sda ? ItemKind::Nack : ItemKind::Ack, at, 0);
            acknowledgeNext_ = false;
            run_.Yield();
        } else if (!afterStart_ && !afterStop_) {
            value_ += bitWeight_ * (before.sda ? 1 : 0);
            bitWeight_ /= 2;
            if (bitWeight_ == 0)
                ByteComplete(at);
        } else {
            unitBegin_ = at;
        }
        if (afterStart_)
            addressNext_ = true;
        afterStart_ = false;
        afterStop_ = false;
    }

    void ByteComplete(int64_t at) {
        Emit(addressNext_ ? ItemKind::Address : ItemKind::Data, at, static_cast<uint8_t>(value_));
        addressNext_ = false;
        run_.Yield();
        value_ = 0;
        acknowledgeNext_ = true;
        bitWeight_ = kFirstBitWeight;
    }

    void Emit(ItemKind kind, int64_t end, uint8_t value) {
        run_.Emit({unitBegin_, std::max(unitBegin_, end - 1), kind, value});
        unitBegin_ = end;
    }

    // SDA changed while SCL stayed high: a start condition when it fell, a stop when it rose.
    // Each sets only its own flag; a stop right after a start leaves the start pending.
    void Condition(ItemKind kind, int64_t at) {
        run_.Emit({at, at, kind});
        unitBegin_ = at;
        (kind == ItemKind::Start ? afterStart_ : afterStop_) = true;
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
    int64_t unitBegin_ = 0; // where the byte or acknowledge being read began
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
        TwoWireText text(run.Output(), [&run](const std::string& shown) { run.Show(shown); });
        run.WriteTextWith(text);
        const std::optional<uint32_t> sda = run.Mask(settings.sda);
        const std::optional<uint32_t> scl = run.Mask(settings.scl);
        if (sda && scl)
            TwoWireDecoder(run, *sda, *scl).Run();
        run.EndItems();
    });
}

} // namespace norrik::decoders
