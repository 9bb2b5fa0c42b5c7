// How the decoders read samples: through the library's LoggedData in the program, or from
// samples held in memory. Both give exactly what LoggedData gives, so a decode never depends on
// where its samples came from.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>

namespace norrik::decoders {

class SampleReader {
public:
    using LoggedDataFunction = int32_t (*)(uint32_t index);

    explicit SampleReader(LoggedDataFunction loggedData) : loggedData_(loggedData) {}
    explicit SampleReader(std::span<const uint32_t> samples) : samples_(samples) {}

    // The samples in memory that this reader gives, with nothing to clamp inside them; empty
    // for a reader of the library's LoggedData.
    std::span<const uint32_t> InMemory() const { return samples_; }

    // The sample at `index`: 0 when there are no samples, the last sample for any index at or
    // past the end. The library compares indexes unsigned, so a negative index reads the last
    // sample too. Called once per scanned sample, hence inline and without a virtual call.
    uint32_t operator()(int64_t index) const {
        constexpr uint32_t kPastTheEnd = std::numeric_limits<uint32_t>::max();
        const uint32_t at =
            index < 0 || index > int64_t{kPastTheEnd} ? kPastTheEnd : static_cast<uint32_t>(index);
        if (loggedData_ != nullptr)
            return static_cast<uint32_t>(loggedData_(at));
        if (samples_.empty())
            return 0;
        return samples_[std::min<size_t>(at, samples_.size() - 1)];
    }

    // Samples `first` onwards into `out`, as the calls above would give them; a stretch the
    // library can read as it is goes through a plain loop of calls.
    void Read(int64_t first, std::span<uint32_t> out) const {
        const auto count = static_cast<int64_t>(out.size());
        if (loggedData_ != nullptr && first >= 0 &&
            first + count <= int64_t{std::numeric_limits<uint32_t>::max()}) {
            const LoggedDataFunction loggedData = loggedData_;
            for (int64_t j = 0; j < count; ++j)
                out[j] = static_cast<uint32_t>(loggedData(static_cast<uint32_t>(first + j)));
            return;
        }
        for (int64_t j = 0; j < count; ++j)
            out[j] = (*this)(first + j);
    }

private:
    LoggedDataFunction loggedData_ = nullptr;
    std::span<const uint32_t> samples_;
};

// The buffer that MakeBuffer returned, read in place: the same values LoggedData gives for a
// buffer of that length, without a library call per sample. No buffer reads as no samples.
inline SampleReader ReaderOfBuffer(const uint32_t* buffer, int32_t bufferSamples) {
    if (buffer == nullptr || bufferSamples <= 0)
        return SampleReader(std::span<const uint32_t>{});
    return SampleReader(std::span<const uint32_t>(buffer, static_cast<size_t>(bufferSamples)));
}

} // namespace norrik::decoders
