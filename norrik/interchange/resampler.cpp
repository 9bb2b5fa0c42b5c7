#include "interchange/resampler.h"

#include <algorithm>
#include <cstring>

namespace norrik::interchange {

Resampler::Resampler(Fraction ticksPerSecond, uint64_t rate, size_t limit, uint64_t longest)
    : ticksPerStep_(ticksPerSecond.num), stepsDivisor_(ticksPerSecond.den * rate),
      sampleOfTick_(stepsDivisor_, ticksPerStep_), tickOfSample_(ticksPerStep_, stepsDivisor_),
      limit_(limit), longest_(longest) {}

uint64_t Resampler::FirstSampleAt(uint64_t tick) const {
    return sampleOfTick_.Ceil(tick);
}

void Resampler::HoldTo(uint64_t end) {
    // A time that far ahead makes the file unreadable: no use filling memory up to it.
    beyond_ = beyond_ || end > longest_;
    if (beyond_)
        return;
    const uint64_t stop = std::min<uint64_t>(end, limit_);
    if (stop > samples_.size())
        samples_.AppendRun(word_, stop - samples_.size());
}

bool Resampler::Change(uint64_t tick, uint32_t word) {
    HoldTo(FirstSampleAt(tick));
    word_ = word;
    return samples_.size() < limit_;
}

bool Resampler::Samples(uint64_t firstTick, std::span<const uint32_t> words) {
    HoldTo(FirstSampleAt(firstTick));
    if (words.empty() || beyond_)
        return samples_.size() < limit_;
    const uint64_t stop = std::min<uint64_t>(FirstSampleAt(firstTick + words.size()), limit_);
    uint64_t j = samples_.size();
    if (ticksPerStep_ == stepsDivisor_) {
        // The file's own rate: its samples as they are.
        if (stop > j)
            samples_.Append(words.subspan(j - firstTick, stop - j));
    } else if (stop > j) {
        // The tick of sample j, stepped on without a division per sample.
        uint64_t tick = tickOfSample_.Floor(j);
        uint64_t remainder = static_cast<uint64_t>(static_cast<unsigned __int128>(j) *
                                                   ticksPerStep_ % stepsDivisor_);
        const uint64_t whole = ticksPerStep_ / stepsDivisor_;
        const uint64_t part = ticksPerStep_ % stepsDivisor_;
        while (j < stop) {
            const std::span<uint32_t> room = samples_.Extend(stop - j);
            for (uint32_t& out : room) {
                out = words[tick - firstTick];
                tick += whole;
                remainder += part;
                if (remainder >= stepsDivisor_) {
                    remainder -= stepsDivisor_;
                    ++tick;
                }
            }
            j += room.size();
        }
    }
    word_ = words.back();
    return samples_.size() < limit_;
}

uint64_t Resampler::Finish(uint64_t endTick) {
    const uint64_t total = FirstSampleAt(endTick);
    HoldTo(total);
    return total;
}

} // namespace norrik::interchange
