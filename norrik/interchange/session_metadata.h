// The "metadata" of a session: INI text of sections and "key = value" lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace norrik::interchange {

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys; // in file order, blanks trimmed

    // The value of the first key of that name.
    std::optional<std::string> Value(std::string_view key) const;
};

// Sections in file order; lines before the first section and lines without '=' are ignored.
std::vector<IniSection> ParseIni(std::string_view text);

} // namespace norrik::interchange
