#include "view/wheel_notches.h"

namespace norrik {

int WheelNotches::Add(int eighthsOfDegree) {
    if ((rest_ > 0 && eighthsOfDegree < 0) || (rest_ < 0 && eighthsOfDegree > 0))
        rest_ = 0;
    // In 64 bits: a driver may report any int, and the sum must not overflow.
    const long long total = static_cast<long long>(rest_) + eighthsOfDegree;
    const long long notches = total / kWheelNotch; // towards zero: the rest keeps its sign
    rest_ = static_cast<int>(total - notches * kWheelNotch);
    return static_cast<int>(notches);
}

} // namespace norrik
