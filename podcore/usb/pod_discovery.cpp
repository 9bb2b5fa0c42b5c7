#include "usb/pod_discovery.h"

#include "diagnostics.h"
#include "usb/pod_ids.h"
#include "usb/pod_state.h"

#include <fstream>
#include <optional>

namespace podcore::usb {

namespace {
constexpr uint8_t kStreamingSetting = 1;
constexpr uint8_t kAuxStreamEndpoint = 0x86;
constexpr uint32_t kHighSpeedPacketFloor = 200;
constexpr int32_t kFullSpeed = -1;
constexpr int32_t kNotOpened = 255;

// Alternate setting 0 has only endpoint 0; the pod's working endpoints are in setting 1.
void SelectStreamingSetting(UsbDevice& pod) {
    if (pod.EndpointCount() < 2) {
        Trace("Setting Interface");
        pod.SetAltSetting(kStreamingSetting);
        Trace("Interface Set");
    }
}

// True when the pod's sample endpoint has high-speed packets. A pod whose setting cannot be
// looked up (no such endpoint, a malformed interface) is not usable and yields nullopt.
std::optional<bool> AtHighSpeed(UsbDevice& pod) {
    try {
        if (pod.EndpointCount() < 2)
            pod.SetAltSetting(kStreamingSetting);
        const UsbEndpoint* aux = pod.EndpointOf(kAuxStreamEndpoint);
        if (aux == nullptr)
            return std::nullopt;
        return aux->MaxPacketSize > kHighSpeedPacketFloor;
    } catch (const UsbError&) {
        return std::nullopt;
    }
}
// Opens each device interface of the class in turn and shows `visit` the pods among them,
// until it returns false.
template <typename Visit> void ForEachPod(Visit visit) {
    UsbDevice device;
    const int count = device.DeviceCount();
    for (int i = 0; i < count; ++i) {
        if (device.Open(i) && IsPod(device) && !visit(device))
            return;
        device.Close();
    }
}
} // namespace

bool IsPod(const UsbDevice& device) {
    return device.IsOpen() && device.VendorId == PodVendorId && device.ProductId == PodProductId;
}

int32_t EnumeratePods(uint32_t* podIds) {
    std::ofstream{StateFilePath("output.txt"), std::ios::trunc};
    if (podIds == nullptr)
        return 0;
    int32_t found = 0;
    ForEachPod([&](UsbDevice& pod) {
        podIds[found++] = pod.BcdDevice;
        return true;
    });
    return found;
}

int32_t NewEnumeratePods(uint32_t* podIds) {
    if (podIds == nullptr)
        return 0;
    int32_t found = 0;
    ForEachPod([&](UsbDevice& pod) {
        const std::optional<bool> highSpeed = AtHighSpeed(pod);
        if (highSpeed == false) {
            found = kFullSpeed;
            return false;
        }
        if (highSpeed)
            podIds[found++] = pod.BcdDevice;
        return true;
    });
    return found;
}

int32_t OpenPod(uint32_t podId) {
    PodState& pods = Pods();
    pods.currentPod.reset();
    pods.currentPod = std::make_shared<UsbDevice>();
    UsbDevice& pod = *pods.currentPod;
    const int count = pod.DeviceCount();
    Trace("About to check how many");
    if (count == 0)
        return 0;
    Trace("It's not zero");
    for (int i = 0; i < count; ++i)
        if (pod.Open(i) && IsPod(pod) && pod.BcdDevice == podId)
            return 1;
    // Left open on the last device examined, later transfers would reach a device that is
    // not the pod asked for, perhaps no pod at all.
    pod.Close();
    return 0;
}

int32_t ClosePod() {
    PodState& pods = Pods();
    if (pods.currentPod)
        pods.currentPod->Close();
    pods.currentPod.reset();
    return 1;
}

int32_t InitializeKTLAPod(uint32_t podId) {
    Trace("InitializeKTLAPod started");
    if (OpenPod(podId) != 1)
        return 0;
    Trace("Open Successful");
    SelectStreamingSetting(*Pods().currentPod);
    return 1;
}

int32_t InitializeKTPod(uint32_t podId) {
    PodState& pods = Pods();
    for (int n = 0; n < pods.podTableCount; ++n) {
        PodTableEntry& entry = pods.podTable[n];
        if (entry.podId != podId)
            continue;
        // A remembered pod that ClosePod released is found again rather than used closed.
        if (!entry.device->IsOpen()) {
            if (OpenPod(podId) != 1)
                return kNotOpened;
            entry.device = pods.currentPod;
            SelectStreamingSetting(*entry.device);
        }
        pods.currentPod = entry.device;
        return n;
    }
    Print("New Device Found. Total= %d PodID = %d\n", pods.podTableCount, static_cast<int>(podId));
    if (pods.podTableCount == PodState::kPodTableSize)
        return kNotOpened;
    if (OpenPod(podId) != 1)
        return kNotOpened;
    Trace("Open Successful");
    pods.podTable[pods.podTableCount++] = {pods.currentPod, podId, 0};
    SelectStreamingSetting(*pods.currentPod);
    Print("Total Pods = %d\n", pods.podTableCount);
    return pods.podTableCount;
}

} // namespace podcore::usb
