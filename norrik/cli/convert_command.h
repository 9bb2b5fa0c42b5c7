// norrik-cli convert: a capture from a file of any format to a file of another, through the
// library's buffer, by the rules the window's Open and Save As follow.
#pragma once

#include "interchange/capture_format.h"
#include "interchange/foreign_format.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norrik::cli {

struct ConvertRequest {
    std::optional<interchange::CaptureFormat> format; // else the output's extension decides
    std::optional<uint8_t> rateCode;                  // else the input's rate decides
    interchange::WriteOptions write;
    std::string input;
    std::string output;
};

// Parses the arguments after "convert". On a bad argument returns false with a one-line reason.
bool ParseConvertArguments(const std::vector<std::string>& arguments, ConvertRequest& request,
                           std::string& error);

std::string ConvertUsage();

// Reads the input into the library's buffer and writes the output. `notes` receive every change
// reading made; false with a one-line reason when the input cannot be read or the output written.
bool RunConvert(const ConvertRequest& request, std::vector<std::string>& notes, std::string& error);

} // namespace norrik::cli
