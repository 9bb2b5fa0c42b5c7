#include "usb/transfer_plan.h"

#include "usb/driver.h"

#include <cstring>

namespace podcore::usb {

bool IsTransferCode(uint32_t code) {
    return code == request::ControlTransfer || code == request::BufferedTransfer ||
           code == request::DirectTransfer;
}

std::optional<TransferPlan> PlanTransfer(uint32_t code, uint8_t* in, uint32_t inLength,
                                         uint8_t* out, uint32_t outLength, uint32_t& systemError) {
    systemError = error::InvalidParameter;
    if (!IsTransferCode(code)) {
        systemError = error::InvalidFunction;
        return std::nullopt;
    }
    if (in == nullptr || inLength < TransferRequest::kSize)
        return std::nullopt;
    TransferPlan plan;
    plan.header = TransferRequest::DecodeFrom(in);
    const TransferRequest& header = plan.header;
    // No isochronous endpoints are served, so a packet area is always a malformed request.
    if (header.reserved != 0 || header.packetInfoOffset != 0 || header.packetInfoLength != 0)
        return std::nullopt;
    plan.control = code == request::ControlTransfer;
    if (plan.control != (header.endpointAddress == 0))
        return std::nullopt;
    plan.deviceToHost =
        plan.control ? (header.requestType & 0x80) != 0 : (header.endpointAddress & 0x80) != 0;

    if (code == request::DirectTransfer) {
        if (inLength != TransferRequest::kSize || header.dataOffset != 0 ||
            header.dataLength != 0 || (outLength != 0 && out == nullptr))
            return std::nullopt;
        plan.data = out;
        plan.length = outLength;
        plan.statusHeader = in;
    } else {
        if (header.dataOffset != TransferRequest::kSize ||
            uint64_t{header.dataOffset} + header.dataLength > inLength || out == nullptr ||
            outLength < inLength)
            return std::nullopt;
        if (plan.control && header.length != header.dataLength)
            return std::nullopt;
        if (out != in)
            std::memcpy(out, in, inLength);
        plan.data = out + header.dataOffset;
        plan.length = header.dataLength;
        plan.statusHeader = out;
        plan.reportedOffset = header.dataOffset;
    }
    systemError = error::Success;
    return plan;
}

} // namespace podcore::usb
