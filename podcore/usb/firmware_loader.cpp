#include "usb/firmware_loader.h"

#include "diagnostics.h"
#include "usb/firmware/firmware_image.h"
#include "usb/pod_state.h"
#include "usb/raw_transfers.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace podcore::usb {

namespace {
constexpr int32_t kResetFailed = 4;
// Completes a short last chunk of a file: the value unloaded program memory holds.
constexpr uint8_t kChunkFiller = 0xAA;

bool WriteMemory(UsbDevice& pod, uint16_t address, uint8_t* bytes, uint32_t length) {
    return VendorTransfer(pod, kFirmwareLoadRequest, 0, address, false, length, bytes) == 1;
}

// Sends `length` bytes in 512-byte loads from address 0; every load is a full chunk.
void LoadChunks(UsbDevice& pod, const uint8_t* bytes, uint32_t length) {
    for (uint32_t offset = 0; offset < length; offset += kLoadChunkBytes) {
        std::array<uint8_t, kLoadChunkBytes> chunk;
        chunk.fill(kChunkFiller);
        const uint32_t count = std::min(kLoadChunkBytes, length - offset);
        std::copy_n(bytes + offset, count, chunk.begin());
        WriteMemory(pod, static_cast<uint16_t>(offset), chunk.data(), kLoadChunkBytes);
    }
}
} // namespace

int32_t Reset8051(UsbDevice& pod, uint8_t holdInReset) {
    uint8_t state = holdInReset;
    return WriteMemory(pod, kResetRegister, &state, 1) ? 1 : kResetFailed;
}

int32_t DownloadImage(UsbDevice& pod, const uint8_t* image) {
    Trace("DownloadImage start");
    if (image == nullptr || Reset8051(pod, 1) != 1)
        return 0;
    LoadChunks(pod, image, firmware::kImageBytes);
    Trace("DownloadImage stop");
    if (Pods().lastControlResult != 1)
        return 0;
    return Reset8051(pod, 0) == 1 ? 1 : 0;
}

int32_t DownloadFile(UsbDevice& pod, const char* path) {
    Trace("DownloadFile start");
    if (path == nullptr)
        return 0;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file)
        return 0;
    std::array<uint8_t, firmware::kImageBytes> bytes;
    const auto read = static_cast<uint32_t>(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    file.reset();
    LoadChunks(pod, bytes.data(), read);
    Trace("DownloadFile stop");
    return Pods().lastControlResult == 1 ? 1 : 0;
}

int32_t DownloadFirmware(UsbDevice& pod, const char* path) {
    if (Reset8051(pod, 1) != 1 || DownloadFile(pod, path) != 1 || Reset8051(pod, 0) != 1)
        return 0;
    return 1;
}

} // namespace podcore::usb
