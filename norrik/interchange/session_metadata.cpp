#include "interchange/session_metadata.h"

namespace norrik::interchange {
namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::optional<std::string> IniSection::Value(std::string_view key) const {
    for (const auto& [name, value] : keys) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

std::vector<IniSection> ParseIni(std::string_view text) {
    std::vector<IniSection> sections;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.push_back({std::string(Trim(line.substr(1, line.size() - 2))), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (sections.empty() || equals == std::string_view::npos)
            continue;
        sections.back().keys.emplace_back(Trim(line.substr(0, equals)),
                                          Trim(line.substr(equals + 1)));
    }
    return sections;
}

} // namespace norrik::interchange
