// The virtual pod: an 8051-based USB controller whose program memory the host loads with
// request 0xA0. It runs only once the library's embedded image was loaded and released from
// reset; then its status endpoint reports ready (0x55) and {1, divisor} starts sampling.
#pragma once

#include "usb/sim/sampling_front_end.h"
#include "usb/sim/virtual_device.h"

#include <array>
#include <condition_variable>
#include <memory>
#include <optional>
#include <thread>

namespace podcore::usb::sim {

class VirtualPod : public VirtualDevice {
public:
    static constexpr uint16_t kMemoryBytes = 8192;
    static constexpr uint16_t kResetRegister = 0xE600;
    static constexpr uint8_t kLoadRequest = 0xA0;
    static constexpr uint8_t kReady = 0x55;
    static constexpr size_t kStreamFifoBytes = 4 * 65536;

    // Bulk throughput of a full-speed link (12 Mbit/s, less protocol overhead).
    static constexpr double kFullSpeedBusBytesPerSecond = 1.0e6;

    VirtualPod(uint16_t podId, bool fullSpeed = false);
    ~VirtualPod() override;

    // How the next start command samples; set before it (under the device lock).
    SamplingSettings sampling;

    bool Held() const { return held_; }
    bool Running() const { return running_; }
    // The divisor of the last start command, once sampling was started.
    std::optional<uint8_t> SamplingDivisor() const { return divisor_; }
    // The two sample streams: bytes 0 and 1 of each sample on 0x88, byte 2 of every second
    // sample on 0x86. Before the start command a test may feed them by hand; from it on the
    // sampling front end fills them. An overflow reports a break in the status.
    StreamInEndpoint& MainStream() { return *mainStream_; }
    StreamInEndpoint& AuxStream() { return *auxStream_; }

protected:
    ControlAnswer VendorRequest(const Setup& setup, uint8_t* data) override;

private:
    void WriteResetRegister(uint8_t value);
    std::optional<uint8_t> Status();
    void Command(const uint8_t* bytes, uint32_t count);
    void StopSampling();
    // When a fault timed from the start of sampling is due; nullopt while not sampling or
    // without that fault.
    std::optional<SamplingFrontEnd::Clock::time_point> DueAt(std::optional<double> seconds) const;
    // Completes the streams' transfers as the samples arrive and removes the pod when its
    // unplug fault is due; runs while the pod exists once it first sampled, and sleeps while
    // it has nothing to do.
    void Pump();

    std::array<uint8_t, kMemoryBytes> memory_{};
    bool held_ = true;
    bool running_ = false;
    std::optional<uint8_t> divisor_;
    std::optional<SamplingFrontEnd::Clock::time_point> samplingSince_;
    StreamInEndpoint* mainStream_ = nullptr;
    StreamInEndpoint* auxStream_ = nullptr;
    std::unique_ptr<SamplingFrontEnd> frontEnd_;
    std::condition_variable pumpWake_;
    bool pumpStop_ = false;
    std::thread pump_;
};

} // namespace podcore::usb::sim
