// Pod, firmware and raw-transfer exports. Each works on the current pod (when it needs one) and
// keeps every error of the USB layer inside the library: a failure is its documented result.
#include "exports/capture_guard.h"
#include "exports/guard.h"
#include "exports/podcore.h"
#include "usb/firmware_loader.h"
#include "usb/pod_discovery.h"
#include "usb/pod_state.h"
#include "usb/raw_transfers.h"

using namespace podcore;

namespace {

// Runs `body` on the current pod, or returns `failure` when there is no open pod or a capture
// is using it.
template <typename Body>
int32_t WithCurrentPod(const char* exportName, int32_t failure, Body&& body) {
    return GuardedUnlessCapturing(exportName, failure, [&]() -> int32_t {
        usb::UsbDevice* pod = usb::Pods().currentPod.get();
        if (pod == nullptr || !pod->IsOpen())
            return failure;
        return body(*pod);
    });
}

} // namespace

int32_t EnumeratePods(uint32_t* podIds) {
    // Enumeration opens every pod, the one that streams included.
    return GuardedUnlessCapturing("EnumeratePods", 0, [&] { return usb::EnumeratePods(podIds); });
}

int32_t NewEnumeratePods(uint32_t* podIds) {
    return GuardedUnlessCapturing("NewEnumeratePods", 0,
                                  [&] { return usb::NewEnumeratePods(podIds); });
}

int32_t OpenPod(uint32_t podId) {
    return GuardedUnlessCapturing("OpenPod", 0, [&] { return usb::OpenPod(podId); });
}

int32_t ClosePod() {
    // Refused with 0: its result is 1 on every other path.
    if (RefusedDuringCapture("ClosePod"))
        return 0;
    return Guarded<int32_t>(1, [] { return usb::ClosePod(); });
}

int32_t InitializeKTLAPod(uint32_t podId) {
    return GuardedUnlessCapturing("InitializeKTLAPod", 0,
                                  [&] { return usb::InitializeKTLAPod(podId); });
}

int32_t InitializeKTPod(uint32_t podId) {
    return GuardedUnlessCapturing("InitializeKTPod", 255,
                                  [&] { return usb::InitializeKTPod(podId); });
}

int32_t Reset8051(uint8_t holdInReset) {
    return WithCurrentPod("Reset8051", 4,
                          [&](usb::UsbDevice& pod) { return usb::Reset8051(pod, holdInReset); });
}

int32_t DownloadImage(const uint8_t* image) {
    return WithCurrentPod("DownloadImage", 0,
                          [&](usb::UsbDevice& pod) { return usb::DownloadImage(pod, image); });
}

int32_t DownloadFile(const char* path) {
    return WithCurrentPod("DownloadFile", 0,
                          [&](usb::UsbDevice& pod) { return usb::DownloadFile(pod, path); });
}

int32_t DownloadFirmware(const char* path) {
    return WithCurrentPod("DownloadFirmware", 0,
                          [&](usb::UsbDevice& pod) { return usb::DownloadFirmware(pod, path); });
}

int32_t BulkIn(uint8_t pipe, uint32_t length, uint8_t* buffer) {
    return WithCurrentPod("BulkIn", 0, [&](usb::UsbDevice& pod) {
        return usb::BulkTransfer(pod, pipe, true, length, buffer);
    });
}

int32_t BulkOut(uint8_t pipe, uint32_t length, uint8_t* buffer) {
    return WithCurrentPod("BulkOut", 0, [&](usb::UsbDevice& pod) {
        return usb::BulkTransfer(pod, pipe, false, length, buffer);
    });
}

int32_t ControlIn(uint8_t request, uint32_t index, uint32_t value, uint32_t length,
                  uint8_t* buffer) {
    return WithCurrentPod("ControlIn", 0, [&](usb::UsbDevice& pod) {
        return usb::VendorTransfer(pod, request, index, value, true, length, buffer);
    });
}

int32_t ControlOut(uint8_t request, uint32_t index, uint32_t value, uint32_t length,
                   uint8_t* buffer) {
    return WithCurrentPod("ControlOut", 0, [&](usb::UsbDevice& pod) {
        return usb::VendorTransfer(pod, request, index, value, false, length, buffer);
    });
}
