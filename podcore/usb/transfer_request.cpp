#include "usb/transfer_request.h"

#include "little_endian.h"

namespace podcore::usb {

void TransferRequest::EncodeTo(uint8_t* header) const {
    header[0] = requestType;
    header[1] = request;
    PutLittleEndian16(header + 2, value);
    PutLittleEndian16(header + 4, index);
    PutLittleEndian16(header + 6, length);
    PutLittleEndian32(header + 8, timeout);
    header[12] = reserved;
    header[13] = endpointAddress;
    PutLittleEndian32(header + 14, systemStatus);
    PutLittleEndian32(header + 18, usbdStatus);
    PutLittleEndian32(header + 22, packetInfoOffset);
    PutLittleEndian32(header + 26, packetInfoLength);
    PutLittleEndian32(header + 30, dataOffset);
    PutLittleEndian32(header + 34, dataLength);
}

TransferRequest TransferRequest::DecodeFrom(const uint8_t* header) {
    TransferRequest r;
    r.requestType = header[0];
    r.request = header[1];
    r.value = GetLittleEndian16(header + 2);
    r.index = GetLittleEndian16(header + 4);
    r.length = GetLittleEndian16(header + 6);
    r.timeout = GetLittleEndian32(header + 8);
    r.reserved = header[12];
    r.endpointAddress = header[13];
    r.systemStatus = GetLittleEndian32(header + 14);
    r.usbdStatus = GetLittleEndian32(header + 18);
    r.packetInfoOffset = GetLittleEndian32(header + 22);
    r.packetInfoLength = GetLittleEndian32(header + 26);
    r.dataOffset = GetLittleEndian32(header + 30);
    r.dataLength = GetLittleEndian32(header + 34);
    return r;
}

void TransferRequest::WriteStatus(uint8_t* header, uint32_t systemStatus, uint32_t usbdStatus) {
    PutLittleEndian32(header + 14, systemStatus);
    PutLittleEndian32(header + 18, usbdStatus);
}

} // namespace podcore::usb
