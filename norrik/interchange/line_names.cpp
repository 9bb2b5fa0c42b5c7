#include "interchange/line_names.h"

#include <algorithm>
#include <cctype>

namespace norrik::interchange {

std::optional<Line> LineOfName(std::string_view name) {
    for (const Line& line : kLines) {
        const bool same = std::equal(
            name.begin(), name.end(), line.name.begin(), line.name.end(),
            [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
        if (same)
            return line;
    }
    return std::nullopt;
}

} // namespace norrik::interchange
