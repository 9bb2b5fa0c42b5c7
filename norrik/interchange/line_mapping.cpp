#include "interchange/line_mapping.h"

#include "interchange/line_names.h"

namespace norrik::interchange {
namespace {

// Notes list a few channels by name and count the rest.
constexpr size_t kListedChannels = 8;

std::string ChannelText(const FileChannel& channel) {
    std::string text = std::to_string(channel.number);
    if (!channel.name.empty())
        text += " (" + channel.name + ")";
    return text;
}

std::string ListText(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size() && i < kListedChannels; ++i)
        text += (i == 0 ? "" : ", ") + items[i];
    if (items.size() > kListedChannels)
        text += " and " + std::to_string(items.size() - kListedChannels) + " more";
    return text;
}

bool AllCarryDistinctLineNames(const std::vector<FileChannel>& channels) {
    uint32_t named = 0;
    for (const FileChannel& channel : channels) {
        const auto line = LineOfName(channel.name);
        if (!line || (named & line->mask) != 0)
            return false;
        named |= line->mask;
    }
    return true;
}

} // namespace

LineMapping MapLines(const std::vector<FileChannel>& channels) {
    LineMapping mapping;
    if (AllCarryDistinctLineNames(channels)) {
        for (const FileChannel& channel : channels)
            mapping.masks.push_back(LineOfName(channel.name)->mask);
        return mapping;
    }
    std::vector<std::string> renamed;
    std::vector<std::string> dropped;
    for (const FileChannel& channel : channels) {
        const bool placed = channel.number >= 1 && channel.number <= int(kLines.size());
        const Line line = placed ? kLines[size_t(channel.number - 1)] : Line{};
        mapping.masks.push_back(line.mask);
        if (!placed)
            dropped.push_back(ChannelText(channel));
        else if (!channel.name.empty() && channel.name != line.name)
            renamed.push_back(channel.name + " as " + std::string(line.name));
    }
    if (!renamed.empty())
        mapping.notes.push_back("Channels read by their number: " + ListText(renamed) + ".");
    if (!dropped.empty())
        mapping.notes.push_back(
            "Channels beyond the twenty lines were dropped: " + ListText(dropped) + ".");
    return mapping;
}

} // namespace norrik::interchange
