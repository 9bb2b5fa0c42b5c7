#include "decoders/decoded_item.h"

namespace norrik::decoders {

std::string_view ItemKindName(ItemKind kind) {
    switch (kind) {
    case ItemKind::Start:
        return "start";
    case ItemKind::Address:
        return "address";
    case ItemKind::Data:
        return "data";
    case ItemKind::Ack:
        return "ack";
    case ItemKind::Nack:
        return "nack";
    case ItemKind::Stop:
        return "stop";
    case ItemKind::BusNotIdle:
        return "bus-not-idle";
    case ItemKind::Pair:
        return "pair";
    case ItemKind::Byte:
        return "byte";
    case ItemKind::StopBitError:
        return "stop-bit-error";
    }
    return "";
}

bool CarriesByte(ItemKind kind) {
    return kind == ItemKind::Address || kind == ItemKind::Data || kind == ItemKind::Byte;
}

} // namespace norrik::decoders
