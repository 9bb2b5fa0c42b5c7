// How a driver reads a transfer request: which endpoint, which direction, where the data and
// the statuses go. Both back ends reject the same malformed requests through it.
#pragma once

#include "usb/transfer_request.h"

#include <cstdint>
#include <optional>

namespace podcore::usb {

struct TransferPlan {
    TransferRequest header;
    bool control = false;
    bool deviceToHost = false;
    uint8_t* data = nullptr; // the data to send or the room for the data received
    uint32_t length = 0;
    uint8_t* statusHeader = nullptr; // the header that receives the statuses
    uint32_t reportedOffset = 0;     // added to the byte count the driver reports
};

bool IsTransferCode(uint32_t code);

// The plan for a transfer request (ControlTransfer, BufferedTransfer, DirectTransfer), or
// nullopt with `systemError` set when the driver must refuse it. A buffered request's input is
// copied to its output when they are different buffers, as the system does for the driver.
std::optional<TransferPlan> PlanTransfer(uint32_t code, uint8_t* in, uint32_t inLength,
                                         uint8_t* out, uint32_t outLength, uint32_t& systemError);

} // namespace podcore::usb
