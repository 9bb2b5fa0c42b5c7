// The one-line reason of a failed system call, for messages.
#pragma once

#include <string>

namespace norrik::interchange {

// "what: the system's text for errno", e.g. "cannot open the file: No such file or directory".
std::string SystemErrorText(const std::string& what);

} // namespace norrik::interchange
