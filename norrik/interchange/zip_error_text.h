// The text of a libzip error code, as zip_open reports its failures.
#pragma once

#include <string>

namespace norrik::interchange {

std::string ZipErrorText(int code);

} // namespace norrik::interchange
