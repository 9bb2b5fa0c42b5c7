#include "usb/sim/sampling_front_end.h"

#include <algorithm>
#include <array>

namespace podcore::usb::sim {

namespace {
// The bus cannot save up idle time beyond a short burst.
constexpr double kBusBurstSeconds = 0.002;
constexpr uint32_t kChunkSamples = 4096;

} // namespace

SamplingFrontEnd::SamplingFrontEnd(const SamplingSettings& settings, uint8_t divisor,
                                   StreamInEndpoint& main, StreamInEndpoint& aux,
                                   Clock::time_point start)
    : settings_(settings), source_(settings.signal, uint32_t{divisor} + 1),
      samplesPerSecond_(double{SignalSource::kClockHz} / (divisor + 1)), start_(start),
      last_(start),
      main_{&main, [this](uint64_t i, uint8_t* o, uint32_t n) { MainBytes(i, o, n); }, 0, 0, 2.0},
      aux_{&aux, [this](uint64_t i, uint8_t* o, uint32_t n) { AuxBytes(i, o, n); }, 0, 0, 0.5} {
    if (settings_.fastestSamplesPerSecond > 0)
        settings_.timeScale =
            std::min(settings_.timeScale, settings_.fastestSamplesPerSecond / samplesPerSecond_);
}

// Bytes 0 and 1 of every sample.
void SamplingFrontEnd::MainBytes(uint64_t index, uint8_t* out, uint32_t count) const {
    std::array<uint32_t, kChunkSamples> chunk;
    const uint64_t end = index + count;
    for (uint64_t sample = index / 2; 2 * sample < end;) {
        const auto n = static_cast<uint32_t>(std::min<uint64_t>(kChunkSamples, (end + 1) / 2 - sample));
        source_.Fill(sample, chunk.data(), n);
        for (uint32_t i = 0; i < n; ++i) {
            const uint64_t low = 2 * (sample + i);
            if (low >= index)
                *out++ = static_cast<uint8_t>(chunk[i]);
            if (low + 1 < end)
                *out++ = static_cast<uint8_t>(chunk[i] >> 8);
        }
        sample += n;
    }
}

// Byte 2 of every second sample.
void SamplingFrontEnd::AuxBytes(uint64_t index, uint8_t* out, uint32_t count) const {
    std::array<uint32_t, 2 * kChunkSamples> chunk;
    while (count > 0) {
        const uint32_t n = std::min<uint32_t>(count, kChunkSamples);
        source_.Fill(2 * index, chunk.data(), 2 * n);
        for (uint32_t i = 0; i < n; ++i)
            out[i] = static_cast<uint8_t>(chunk[2 * i] >> 16);
        out += n;
        index += n;
        count -= n;
    }
}

uint64_t SamplingFrontEnd::Want(const Stream& stream) {
    return std::min(stream.buffered, stream.endpoint->Room());
}

void SamplingFrontEnd::Deliver(Stream& stream, uint64_t count) {
    stream.endpoint->Deliver(stream.produced - stream.buffered, count, stream.bytes);
    stream.buffered -= count;
}

void SamplingFrontEnd::CatchUp(Clock::time_point now) {
    if (now <= last_)
        return;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double interval = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    const double podSeconds = seconds * settings_.timeScale;
    const auto samples = static_cast<uint64_t>(podSeconds * samplesPerSecond_);
    for (Stream* stream : {&main_, &aux_}) {
        const auto produced = static_cast<uint64_t>(samples * stream->bytesPerSample);
        stream->buffered += produced - stream->produced;
        stream->produced = produced;
    }

    const double budget = settings_.busBytesPerSecond * settings_.timeScale;
    // A late catch-up still had the bus the whole interval; only unused time is not saved up.
    busCredit_ = std::min(busCredit_, budget * kBusBurstSeconds) + budget * interval;
    const uint64_t mainWant = Want(main_);
    const uint64_t auxWant = Want(aux_);
    const double wanted = double(mainWant) + double(auxWant);
    const double share = wanted > busCredit_ ? busCredit_ / wanted : 1.0;
    const auto mainSent = static_cast<uint64_t>(mainWant * share);
    const auto auxSent = static_cast<uint64_t>(auxWant * share);
    Deliver(main_, mainSent);
    Deliver(aux_, auxSent);
    busCredit_ -= double(mainSent + auxSent);

    // Whatever the FIFO cannot hold is lost, the oldest bytes first.
    for (Stream* stream : {&main_, &aux_}) {
        if (stream->buffered > settings_.fifoBytes) {
            stream->buffered = settings_.fifoBytes;
            overflowed_ = true;
        }
    }
}

SamplingFrontEnd::Clock::duration SamplingFrontEnd::NextDelivery() const {
    using std::chrono::microseconds;
    double seconds = 0.002;
    for (const Stream* stream : {&main_, &aux_}) {
        const uint32_t missing = stream->endpoint->HeadMissing();
        if (missing == 0)
            continue;
        const double rate = samplesPerSecond_ * stream->bytesPerSample * settings_.timeScale;
        const double needed = missing > stream->buffered ? missing - stream->buffered : 0;
        seconds = std::min(seconds, needed / rate);
    }
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(seconds, 0.0005)));
}

} // namespace podcore::usb::sim
