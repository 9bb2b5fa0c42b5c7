// Wheel turns counted in whole notches. Wheels report in eighths of a degree, 120 to a notch;
// high-resolution wheels and touchpads send a notch in many small parts, which add up here.
#pragma once

namespace norrik {

constexpr int kWheelNotch = 120;

class WheelNotches {
public:
    // Adds a turn (positive away from the user or to the left) and returns the whole notches it
    // completes, keeping the rest for the next turn. A turn against the direction of the rest
    // starts afresh, so that a change of direction acts as soon as the wheel does.
    int Add(int eighthsOfDegree);

private:
    int rest_ = 0;
};

} // namespace norrik
