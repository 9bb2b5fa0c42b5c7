// x times a fraction, rounded down, up or to the nearest, exactly: the conversions between a
// file's ticks, its times and samples. Where the reduced fraction is small enough the work stays
// in 64 bits, since a 128-bit division per change would dominate reading a dump.
#pragma once

#include <cstdint>
#include <numeric>

namespace norrik::interchange {

class RationalScale {
public:
    RationalScale(uint64_t num, uint64_t den) {
        const uint64_t common = std::gcd(num, den);
        num_ = common == 0 ? 0 : num / common;
        den_ = common == 0 ? 1 : den / common;
        unsigned __int128 product = static_cast<unsigned __int128>(num_) * den_;
        narrow_ = product < (uint64_t{1} << 62);
    }

    uint64_t Floor(uint64_t x) const { return Scaled(x, 0); }
    uint64_t Ceil(uint64_t x) const { return Scaled(x, den_ - 1); }
    // Halves round up.
    uint64_t Nearest(uint64_t x) const { return Scaled(x, den_ / 2); }

private:
    // (x * num + bias) / den, saturated to 2^64 - 1; bias < den.
    uint64_t Scaled(uint64_t x, uint64_t bias) const {
        if (narrow_) {
            // x = q den + r: x num / den = q num + r num / den, and r num < 2^62.
            const uint64_t q = x / den_;
            const uint64_t r = x % den_;
            uint64_t whole = 0;
            if (__builtin_mul_overflow(q, num_, &whole))
                return UINT64_MAX;
            uint64_t sum = 0;
            return __builtin_add_overflow(whole, (r * num_ + bias) / den_, &sum) ? UINT64_MAX : sum;
        }
        const unsigned __int128 wide = (static_cast<unsigned __int128>(x) * num_ + bias) / den_;
        return wide > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(wide);
    }

    uint64_t num_;
    uint64_t den_;
    bool narrow_;
};

} // namespace norrik::interchange
