#include "usb/transfer_request.h"

namespace podcore::usb {
namespace {

void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t Get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t Get32(const uint8_t* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

} // namespace

void TransferRequest::EncodeTo(uint8_t* header) const {
    header[0] = requestType;
    header[1] = request;
    Put16(header + 2, value);
    Put16(header + 4, index);
    Put16(header + 6, length);
    Put32(header + 8, timeout);
    header[12] = reserved;
    header[13] = endpointAddress;
    Put32(header + 14, systemStatus);
    Put32(header + 18, usbdStatus);
    Put32(header + 22, packetInfoOffset);
    Put32(header + 26, packetInfoLength);
    Put32(header + 30, dataOffset);
    Put32(header + 34, dataLength);
}

TransferRequest TransferRequest::DecodeFrom(const uint8_t* header) {
    TransferRequest r;
    r.requestType = header[0];
    r.request = header[1];
    r.value = Get16(header + 2);
    r.index = Get16(header + 4);
    r.length = Get16(header + 6);
    r.timeout = Get32(header + 8);
    r.reserved = header[12];
    r.endpointAddress = header[13];
    r.systemStatus = Get32(header + 14);
    r.usbdStatus = Get32(header + 18);
    r.packetInfoOffset = Get32(header + 22);
    r.packetInfoLength = Get32(header + 26);
    r.dataOffset = Get32(header + 30);
    r.dataLength = Get32(header + 34);
    return r;
}

void TransferRequest::WriteStatus(uint8_t* header, uint32_t systemStatus, uint32_t usbdStatus) {
    Put32(header + 14, systemStatus);
    Put32(header + 18, usbdStatus);
}

} // namespace podcore::usb
