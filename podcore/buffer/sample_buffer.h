// The one sample buffer that every part of the library shares: its memory, its length and the
// count of valid samples. The capture threads write it; everything else reads it.
#pragma once

#include <atomic>
#include <cstdint>

namespace podcore::buffer {

// Every buffer the advice allows must stay addressable by the application's signed 32-bit
// sample indexes, including view positions up to twice the buffer length.
constexpr uint32_t kMaxAdvisedSamples = 1u << 30;
constexpr uint32_t kBlockSamples = 65536;

struct State {
    uint32_t* samples = nullptr;
    std::atomic<uint32_t> bufferLength{0};
    // Samples that MakeBuffer allocated; a capture may use fewer (its own BufferLength), never
    // more.
    std::atomic<uint32_t> allocatedLength{0};
    std::atomic<uint32_t> actualCaptureLength{0};
    // Bumped whenever the library rewrites the samples, so that derived data can tell it is stale.
    std::atomic<uint64_t> generation{0};
};

State& Buffer();

// Call after the library has written samples (fill, file read, end of a capture).
void MarkWritten();
void MarkWritten(State& state);

// Available physical memory in bytes, as the operating system reports it.
uint64_t FreePhysicalMemory();

// The advice of GetMaxBufferSize for a given amount of free memory.
uint32_t AdvisedSamples(uint64_t freeBytes);

uint32_t* Make(uint32_t samples);
int32_t Delete(const uint32_t* anyNonNull);
int32_t Sample(uint32_t index);
void FillDemoPattern();
int32_t CopyToFile(int32_t first, int32_t last, const char* fileName);

} // namespace podcore::buffer
