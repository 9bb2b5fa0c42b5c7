// How every command of norrik-cli takes an option's value: "--name=value" or "--name value".
#pragma once

#include <string>
#include <vector>

namespace norrik::cli {

// Splits arguments[i] (an option) into its name and value, stepping `i` past a value given as
// the next argument. False with a one-line reason when the value is missing.
bool TakeOption(const std::vector<std::string>& arguments, size_t& i, std::string& name,
                std::string& value, std::string& error);

} // namespace norrik::cli
