// The virtual pod's sampling front end. From the start command on it samples in real time at
// 48 MHz / (divisor + 1) into two small FIFOs, one per data endpoint, and the bus drains them
// into the transfers the host keeps queued, within a byte budget both endpoints share. Nothing
// runs between calls: each catch-up works out what happened since the last one from the clock.
// When the host does not keep enough transfers queued, or the bus is too slow for the rate, a
// FIFO overflows, the oldest bytes are lost and the pod reports the break in its status.
#pragma once

#include "usb/sim/endpoint_model.h"
#include "usb/sim/signal_source.h"

#include <chrono>
#include <cstdint>

namespace podcore::usb::sim {

struct SamplingSettings {
    Signal signal = Signal::Traffic;
    // The best bulk throughput of the link, both data endpoints together.
    double busBytesPerSecond = 42e6;
    // Bytes each data endpoint's FIFO holds inside the pod.
    uint32_t fifoBytes = 4096;
    // Pod time per host time: below 1 the pod samples (and the bus moves) that much slower.
    double timeScale = 1.0;
    // The most samples a second of host time carries, whatever the rate (0: no limit): the pod
    // time runs slower still where the rate would exceed it.
    double fastestSamplesPerSecond = 0;
};

class SamplingFrontEnd {
public:
    using Clock = std::chrono::steady_clock;

    SamplingFrontEnd(const SamplingSettings& settings, uint8_t divisor, StreamInEndpoint& main,
                     StreamInEndpoint& aux, Clock::time_point start);

    // Samples and delivers everything due up to `now`.
    void CatchUp(Clock::time_point now);
    bool Overflowed() const { return overflowed_; }
    // How long until the first queued transfer could be full, within sensible bounds.
    Clock::duration NextDelivery() const;

private:
    struct Stream {
        StreamInEndpoint* endpoint;
        StreamInEndpoint::StreamBytes bytes;
        uint64_t produced = 0; // stream bytes sampled so far
        uint64_t buffered = 0; // of those, bytes waiting in the FIFO (the newest ones)
        double bytesPerSample;
    };
    void MainBytes(uint64_t index, uint8_t* out, uint32_t count) const;
    void AuxBytes(uint64_t index, uint8_t* out, uint32_t count) const;
    static uint64_t Want(const Stream& stream);
    void Deliver(Stream& stream, uint64_t count);

    SamplingSettings settings_;
    SignalSource source_;
    double samplesPerSecond_;
    Clock::time_point start_;
    Clock::time_point last_;
    double busCredit_ = 0;
    Stream main_;
    Stream aux_;
    bool overflowed_ = false;
};

} // namespace podcore::usb::sim
