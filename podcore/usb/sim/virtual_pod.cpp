#include "usb/sim/virtual_pod.h"

#include "usb/firmware/firmware_image.h"
#include "usb/pod_ids.h"
#include "usb/usbd_status.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb::sim {

namespace {
constexpr uint8_t kBulk = 2;
constexpr uint8_t kStartCommand = 1;

std::vector<InterfaceLayout> PodInterfaces(bool fullSpeed) {
    const uint16_t packet = fullSpeed ? 64 : 512;
    return {
        {0, 0, {}},
        {0,
         1,
         {{0x01, kBulk, packet},
          {0x81, kBulk, packet},
          {0x86, kBulk, packet},
          {0x88, kBulk, packet}}},
    };
}
} // namespace

VirtualPod::VirtualPod(uint16_t podId, bool fullSpeed)
    : VirtualDevice(DeviceDescriptor(PodVendorId, PodProductId, podId, 1),
                    {ConfigurationDescriptor(PodInterfaces(fullSpeed))},
                    {{0, LanguageDescriptor({0x0409})},
                     {1, StringDescriptor(u"Tarnwick")},
                     {2, StringDescriptor(u"Tarnwick Logic Analyzer Pod")},
                     {3, StringDescriptor(u"VP" + std::u16string(1, u'0' + podId % 10))}}) {
    AddEndpoint(std::make_unique<CommandEndpoint>(
        0x01, faults, [this](const uint8_t* bytes, uint32_t count) { Command(bytes, count); }));
    AddEndpoint(std::make_unique<ResponderEndpoint>(0x81, faults, [this] { return Status(); }));
    auto aux = std::make_unique<StreamInEndpoint>(0x86, faults, kStreamFifoBytes);
    auto main = std::make_unique<StreamInEndpoint>(0x88, faults, kStreamFifoBytes);
    auxStream_ = aux.get();
    mainStream_ = main.get();
    AddEndpoint(std::move(aux));
    AddEndpoint(std::move(main));
    if (fullSpeed)
        sampling.busBytesPerSecond = kFullSpeedBusBytesPerSecond;
}

VirtualPod::~VirtualPod() {
    {
        std::lock_guard lock(mutex);
        pumpStop_ = true;
    }
    pumpWake_.notify_all();
    if (pump_.joinable())
        pump_.join();
}

ControlAnswer VirtualPod::VendorRequest(const Setup& setup, uint8_t* data) {
    constexpr ControlAnswer kStall{usbd::StallPid, 0};
    if (setup.request != kLoadRequest || faults.failFirmwareLoad)
        return kStall;
    if (setup.value == kResetRegister) {
        if (setup.DeviceToHost() || setup.length != 1)
            return kStall;
        WriteResetRegister(data[0]);
        return {0, 1};
    }
    if (uint32_t{setup.value} + setup.length > kMemoryBytes)
        return kStall;
    if (setup.DeviceToHost())
        std::memcpy(data, memory_.data() + setup.value, setup.length);
    else
        std::memcpy(memory_.data() + setup.value, data, setup.length);
    return {0, setup.length};
}

// The processor runs only what it recognises as the pod program: anything else would not
// answer on the status endpoint, just like a real controller running garbage.
void VirtualPod::WriteResetRegister(uint8_t value) {
    held_ = (value & 1) != 0;
    StopSampling();
    mainStream_->Clear();
    auxStream_->Clear();
    running_ = !held_ && std::equal(memory_.begin(), memory_.end(), firmware::EmbeddedImage());
    if (running_)
        ServiceAll();
}

std::optional<uint8_t> VirtualPod::Status() {
    if (!running_)
        return std::nullopt;
    if (!divisor_)
        return kReady;
    const auto now = SamplingFrontEnd::Clock::now();
    const auto breakAt = DueAt(faults.breakAfterSeconds);
    bool lost = mainStream_->Overflowed() || auxStream_->Overflowed() || faults.statusBreak ||
                (breakAt && now >= *breakAt);
    if (frontEnd_) {
        frontEnd_->CatchUp(now);
        lost = lost || frontEnd_->Overflowed();
    }
    return lost ? 1 : 0;
}

// A silent pod has no front end: its streams wait for samples that never come.
void VirtualPod::Command(const uint8_t* bytes, uint32_t count) {
    if (!running_ || count != 2 || bytes[0] != kStartCommand)
        return;
    StopSampling();
    const auto now = SamplingFrontEnd::Clock::now();
    divisor_ = bytes[1];
    samplingSince_ = now;
    mainStream_->SetSampling(true);
    auxStream_->SetSampling(true);
    if (!faults.silentStreams)
        frontEnd_ =
            std::make_unique<SamplingFrontEnd>(sampling, bytes[1], *mainStream_, *auxStream_, now);
    if (!pump_.joinable())
        pump_ = std::thread([this] { Pump(); });
    pumpWake_.notify_all();
}

void VirtualPod::StopSampling() {
    divisor_.reset();
    samplingSince_.reset();
    frontEnd_.reset();
    mainStream_->SetSampling(false);
    auxStream_->SetSampling(false);
}

std::optional<SamplingFrontEnd::Clock::time_point>
VirtualPod::DueAt(std::optional<double> seconds) const {
    if (!samplingSince_ || !seconds)
        return std::nullopt;
    return *samplingSince_ + std::chrono::duration_cast<SamplingFrontEnd::Clock::duration>(
                                 std::chrono::duration<double>(*seconds));
}

void VirtualPod::Pump() {
    std::unique_lock lock(mutex);
    while (!pumpStop_) {
        const auto now = SamplingFrontEnd::Clock::now();
        const auto unplugAt = DueAt(faults.unplugAfterSeconds);
        if (!removed && unplugAt && now >= *unplugAt)
            Unplug();
        if (removed || (!frontEnd_ && !unplugAt)) {
            pumpWake_.wait(lock);
            continue;
        }
        std::optional<SamplingFrontEnd::Clock::time_point> wake = unplugAt;
        if (frontEnd_) {
            frontEnd_->CatchUp(now);
            const auto delivery = now + frontEnd_->NextDelivery();
            wake = wake ? std::min(*wake, delivery) : delivery;
        }
        pumpWake_.wait_until(lock, *wake);
    }
}

} // namespace podcore::usb::sim
