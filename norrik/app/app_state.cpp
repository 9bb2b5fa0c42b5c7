#include "app_state.h"

namespace norrik {

std::array<int32_t, 21> ResistorColors() {
    constexpr std::array<int32_t, 8> kCode = {
        0x000000, // black
        0x804000, // brown
        0xC00000, // red
        0xFF8000, // orange
        0xC0C000, // yellow
        0x008000, // green
        0x0000FF, // blue
        0xC000C0, // violet
    };
    std::array<int32_t, 21> colors{};
    for (int row = 0; row < 20; ++row)
        colors[row] = kCode[row % 8];
    return colors;
}

} // namespace norrik
