#include "interchange/capture_format.h"

#include "interchange/system_error.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace norrik::interchange {
namespace {

constexpr std::array<std::pair<std::string_view, CaptureFormat>, 4> kNames = {{
    {"nrk", CaptureFormat::Nrk},
    {"sr", CaptureFormat::Sr},
    {"vcd", CaptureFormat::Vcd},
    {"csv", CaptureFormat::Csv},
}};

// Enough of a file to tell text from binary.
constexpr size_t kSniffBytes = 4096;

bool IsTextByte(unsigned char byte) {
    return byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f';
}

} // namespace

std::string_view FormatName(CaptureFormat format) {
    for (const auto& [name, named] : kNames) {
        if (named == format)
            return name;
    }
    return {};
}

std::optional<CaptureFormat> FormatOfName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [known, format] : kNames) {
        if (lower == known)
            return format;
    }
    return std::nullopt;
}

std::optional<CaptureFormat> FormatOfExtension(std::string_view path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    return FormatOfName(path.substr(dot + 1));
}

bool FormatOfContent(const std::string& path, CaptureFormat& format, std::string& error) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        error = SystemErrorText("cannot open the file");
        return false;
    }
    std::array<unsigned char, kSniffBytes> start{};
    const ssize_t got = ::read(descriptor, start.data(), start.size());
    const std::string readError = got < 0 ? SystemErrorText("cannot read the file") : "";
    ::close(descriptor);
    if (got < 0) {
        error = readError;
        return false;
    }
    if (got == 0) {
        error = "the file is empty";
        return false;
    }
    const auto begin = start.begin();
    const auto end = begin + got;
    // Local file header, empty archive or spanned archive.
    const bool zip = got >= 4 && start[0] == 'P' && start[1] == 'K' &&
                     ((start[2] == 3 && start[3] == 4) || (start[2] == 5 && start[3] == 6) ||
                      (start[2] == 7 && start[3] == 8));
    if (zip) {
        format = CaptureFormat::Sr;
    } else if (std::all_of(begin, end, IsTextByte)) {
        // A byte-order mark and blank lines may come before the first text.
        auto first = begin;
        if (got >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF)
            first += 3;
        first = std::find_if(first, end, [](unsigned char c) { return !std::isspace(c); });
        format = first != end && *first == '$' ? CaptureFormat::Vcd : CaptureFormat::Csv;
    } else {
        format = CaptureFormat::Nrk;
    }
    return true;
}

} // namespace norrik::interchange
