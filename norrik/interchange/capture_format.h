// The file formats a capture moves in and out by, and how a file's format is told.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norrik::interchange {

enum class CaptureFormat { Nrk, Sr, Vcd, Csv };

// "nrk", "sr", "vcd", "csv": the names the command line and file extensions use.
std::string_view FormatName(CaptureFormat format);
std::optional<CaptureFormat> FormatOfName(std::string_view name);

// The format a file name's extension stands for, in any case.
std::optional<CaptureFormat> FormatOfExtension(std::string_view path);

// The format a file's first bytes show: a zip archive is a session, text beginning with '$' a
// value change dump, other text a table, anything else a capture file of our own. False with a
// one-line reason when the file cannot be read or is empty.
bool FormatOfContent(const std::string& path, CaptureFormat& format, std::string& error);

} // namespace norrik::interchange
