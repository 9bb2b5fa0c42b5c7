// The twenty lines a capture shows, by the names other tools know them by, in channel order.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace norrik::interchange {

struct Line {
    std::string_view name;
    uint32_t mask; // the line's bit in a sample word
};

// P0 to P15, Sin, Sout, RES, VDD: channel k of a file without line names is line k - 1.
constexpr std::array<Line, 20> kLines = {{
    {"P0", 1u << 0},   {"P1", 1u << 1},   {"P2", 1u << 2},    {"P3", 1u << 3},   {"P4", 1u << 4},
    {"P5", 1u << 5},   {"P6", 1u << 6},   {"P7", 1u << 7},    {"P8", 1u << 8},   {"P9", 1u << 9},
    {"P10", 1u << 10}, {"P11", 1u << 11}, {"P12", 1u << 12},  {"P13", 1u << 13}, {"P14", 1u << 14},
    {"P15", 1u << 15}, {"Sin", 1u << 16}, {"Sout", 1u << 17}, {"RES", 1u << 19}, {"VDD", 1u << 20},
}};

// The bits of all twenty lines.
constexpr uint32_t kLineBits = 0x1BFFFF;

// The line a name stands for, in any case.
std::optional<Line> LineOfName(std::string_view name);

} // namespace norrik::interchange
