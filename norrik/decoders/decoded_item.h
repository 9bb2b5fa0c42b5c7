// What a decoder finds, as data: one item per condition, byte or byte pair, with the samples it
// spans. The window's text and the command line's records are both written from these items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace norrik::decoders {

enum class ItemKind {
    // 2-wire
    Start,
    Address,
    Data,
    Ack,
    Nack,
    Stop,
    BusNotIdle,
    // SPI
    Pair,
    // async serial
    Byte,
    StopBitError,
};

struct DecodedItem {
    int64_t firstSample = 0;
    int64_t lastSample = 0;
    ItemKind kind = ItemKind::Byte;
    uint8_t value = 0;  // the byte of an address, data byte or serial byte; SO of a pair
    uint8_t dataIn = 0; // SI of a pair
};

// The kind as records name it: "start", "bus-not-idle", "stop-bit-error" ...
std::string_view ItemKindName(ItemKind kind);

// Whether the kind carries a byte in `value`.
bool CarriesByte(ItemKind kind);

// Receives a run's items in the order they are found.
class ItemSink {
public:
    virtual ~ItemSink() = default;
    virtual void Add(const DecodedItem& item) = 0;
    // A setting that keeps the run from decoding: the message is one line ending in CR LF.
    virtual void Problem(const std::string& message) = 0;
    // The run has ended.
    virtual void End() {}
};

} // namespace norrik::decoders
