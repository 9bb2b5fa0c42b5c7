#include "sample_buffer.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <sys/sysinfo.h>
#include <utility>

namespace podcore::buffer {

State& Buffer() {
    static State state;
    return state;
}

void MarkWritten() {
    MarkWritten(Buffer());
}

void MarkWritten(State& state) {
    state.generation.fetch_add(1, std::memory_order_release);
}

uint64_t FreePhysicalMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t kib = 0;
    std::string unit;
    while (meminfo >> key >> kib >> unit) {
        if (key == "MemAvailable:")
            return kib * 1024;
    }
    struct sysinfo info {};
    if (sysinfo(&info) == 0)
        return static_cast<uint64_t>(info.freeram) * info.mem_unit;
    return 0;
}

uint32_t AdvisedSamples(uint64_t freeBytes) {
    constexpr uint64_t kFloor = 38'000'000;
    constexpr uint64_t kReserve = 32'000'000;
    const uint64_t usable = (std::max(freeBytes, kFloor) - kReserve) & ~uint64_t{0xFFFF};
    return static_cast<uint32_t>(std::min<uint64_t>(usable / 4, kMaxAdvisedSamples));
}

uint32_t* Make(uint32_t samples) {
    // Sizes beyond the advice's cap are refused too: a caller's negative count arrives here as
    // a huge one, and its samples could not be addressed anyway.
    if (samples % kBlockSamples != 0 || samples > kMaxAdvisedSamples)
        return nullptr;
    auto* memory = new (std::nothrow) uint32_t[samples == 0 ? 1 : samples];
    if (memory == nullptr)
        return nullptr;
    // A fresh buffer shows bits 0 to 7 high and everything else low.
    std::fill_n(memory, samples, 0xFFu);
    State& state = Buffer();
    state.samples = memory;
    state.bufferLength = samples;
    state.allocatedLength = samples;
    state.actualCaptureLength = samples;
    MarkWritten();
    return memory;
}

int32_t Delete(const uint32_t* anyNonNull) {
    if (anyNonNull == nullptr)
        return 0;
    State& state = Buffer();
    delete[] std::exchange(state.samples, nullptr);
    state.bufferLength = 0;
    state.allocatedLength = 0;
    state.actualCaptureLength = 0;
    MarkWritten();
    return 1;
}

int32_t Sample(uint32_t index) {
    const State& state = Buffer();
    const uint32_t length = state.bufferLength;
    if (length == 0 || state.samples == nullptr)
        return 0;
    return static_cast<int32_t>(state.samples[std::min(index, length - 1)]);
}

void FillDemoPattern() {
    State& state = Buffer();
    const uint32_t length = state.bufferLength;
    uint32_t* samples = state.samples;
    if (samples != nullptr) {
        for (uint32_t k = 0; k < length; ++k)
            samples[k] = 0xCCCCCCCCu + k;
    }
    state.actualCaptureLength = length;
    MarkWritten();
}

int32_t CopyToFile(int32_t first, int32_t last, const char* fileName) {
    const State& state = Buffer();
    const int64_t length = state.samples == nullptr ? 0 : int64_t{state.bufferLength};
    auto clamp = [length](int64_t index) {
        if (index >= length)
            index = length - 1;
        return std::max<int64_t>(index, 0);
    };
    int64_t a = clamp(first);
    int64_t b = clamp(last);
    if (a > b)
        std::swap(a, b);

    std::FILE* file = std::fopen(fileName, "wb");
    if (file == nullptr)
        return 0;
    const int32_t header[2] = {static_cast<int32_t>(a), static_cast<int32_t>(b)};
    std::fwrite(header, sizeof header, 1, file);
    // The count is in bytes, not samples; with no buffer there is nothing to write.
    if (length > 0)
        std::fwrite(state.samples + a, 1, static_cast<size_t>(b - a + 1), file);
    std::fclose(file);
    return 1;
}

} // namespace podcore::buffer
