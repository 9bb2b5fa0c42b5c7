#include "usb/sim/slave_fifo.h"

#include "usb/firmware/controller_map.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb::sim {

namespace {
constexpr uint8_t kRequiredConfig = EPCFG_VALID | EPCFG_DIR_IN | EPCFG_TYPE_BULK;
constexpr uint8_t kRequiredMask = EPCFG_VALID | EPCFG_DIR_IN | EPCFG_TYPE_MASK;
} // namespace

// The power-on values: a valid double-buffered bulk IN endpoint, word-wide, no AUTOIN.
SlaveFifo::SlaveFifo(bool configurableBuffers)
    : configurableBuffers_(configurableBuffers),
      config_(kRequiredConfig | (configurableBuffers ? EPCFG_BUF_DOUBLE : 0)),
      fifoConfig_(FIFOCFG_ZEROLENIN | FIFOCFG_WORDWIDE), autoInLength_(512) {}

void SlaveFifo::SetConfig(uint8_t value) {
    config_ = value;
    Reset();
}

void SlaveFifo::SetFifoConfig(uint8_t value) {
    fifoConfig_ = value;
    Reset();
}

void SlaveFifo::SetAutoInLength(uint16_t value) {
    autoInLength_ = value;
    Reset();
}

void SlaveFifo::Reset() {
    head_ = 0;
    committed_ = 0;
    filling_ = 0;
}

size_t SlaveFifo::Buffers() const {
    if (!configurableBuffers_)
        return 2;
    switch (config_ & EPCFG_BUF_MASK) {
    case EPCFG_BUF_QUAD:
        return 4;
    case EPCFG_BUF_TRIPLE:
        return 3;
    default:
        return 2;
    }
}

size_t SlaveFifo::BufferBytes() const {
    return configurableBuffers_ && (config_ & EPCFG_SIZE_1024) ? 1024 : 512;
}

size_t SlaveFifo::BytesHeld() const {
    size_t held = filling_;
    for (size_t i = 0; i < committed_; ++i)
        held += lengths_[Slot(i)];
    return held;
}

bool SlaveFifo::Accepts(bool wordWide) const {
    const bool widthMatches = ((fifoConfig_ & FIFOCFG_WORDWIDE) != 0) == wordWide;
    const bool wholeWords = !wordWide || autoInLength_ % 2 == 0;
    return (config_ & kRequiredMask) == kRequiredConfig && (fifoConfig_ & FIFOCFG_AUTOIN) &&
           widthMatches && autoInLength_ > 0 && autoInLength_ <= BufferBytes() && wholeWords;
}

size_t SlaveFifo::Write(const uint8_t* bytes, size_t count, bool wordWide) {
    if (!Accepts(wordWide))
        return 0;
    if (wordWide)
        count &= ~size_t{1};
    size_t taken = 0;
    while (taken < count && !Full()) {
        const size_t slot = Slot(committed_);
        const size_t part = std::min(count - taken, size_t{autoInLength_} - filling_);
        std::memcpy(buffers_[slot].data() + filling_, bytes + taken, part);
        filling_ += part;
        taken += part;
        if (filling_ == autoInLength_) {
            lengths_[slot] = autoInLength_;
            ++committed_;
            filling_ = 0;
        }
    }
    return taken;
}

bool SlaveFifo::TakePacket(std::vector<uint8_t>& packet) {
    if (committed_ == 0)
        return false;
    const auto& buffer = buffers_[head_];
    packet.assign(buffer.begin(), buffer.begin() + lengths_[head_]);
    head_ = Slot(1);
    --committed_;
    return true;
}

} // namespace podcore::usb::sim
