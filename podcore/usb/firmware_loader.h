// Loading 8051 program memory over endpoint 0 with the firmware-load vendor request, and holding
// or releasing the processor through its reset register.
#pragma once

#include "usb/usb_device.h"

#include <cstdint>

namespace podcore::usb {

constexpr uint8_t kFirmwareLoadRequest = 0xA0;
constexpr uint16_t kResetRegister = 0xE600;
constexpr uint32_t kLoadChunkBytes = 512;

// Writes the reset register of the pod: 1 holds the processor, 0 lets it run.
// Returns 1, or 4 when the request failed.
int32_t Reset8051(UsbDevice& pod, uint8_t holdInReset);
// Loads the 8192-byte image to addresses 0 to 8191 and starts it: 1 done, 0 failed.
int32_t DownloadImage(UsbDevice& pod, const uint8_t* image);
// Loads up to 8192 bytes of a file, in 512-byte chunks: 1 when the last chunk went through.
int32_t DownloadFile(UsbDevice& pod, const char* path);
// Holds the processor, loads the file and releases it: 1 when every step succeeded.
int32_t DownloadFirmware(UsbDevice& pod, const char* path);

} // namespace podcore::usb
