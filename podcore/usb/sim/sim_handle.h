// An open device interface of the virtual driver: checks each request as the kernel driver
// would (code, buffer lengths, header fields, endpoint) and carries it out on the device.
#pragma once

#include "usb/driver.h"
#include "usb/sim/sim_driver.h"
#include "usb/sim/virtual_device.h"

#include <memory>

namespace podcore::usb::sim {

class SimHandle : public DeviceHandle {
public:
    SimHandle(std::shared_ptr<RequestLog> log, std::shared_ptr<VirtualDevice> device, int number);
    ~SimHandle() override;

    uint32_t Request(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                     uint32_t outLength, uint32_t& returned) override;
    uint32_t Submit(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out, uint32_t outLength,
                    Overlapped& overlapped) override;

private:
    uint32_t Simple(uint32_t code, const uint8_t* in, uint32_t inLength, uint8_t* out,
                    uint32_t outLength, uint32_t& returned);
    uint32_t Transfer(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                      uint32_t outLength, Overlapped& overlapped);
    LoggedRequest Received(uint32_t code, const uint8_t* in, uint32_t inLength,
                           uint32_t outLength) const;

    std::shared_ptr<RequestLog> log_;
    std::shared_ptr<VirtualDevice> device_;
    int number_;
};

} // namespace podcore::usb::sim
