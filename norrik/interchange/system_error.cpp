#include "interchange/system_error.h"

#include <cerrno>
#include <cstring>

namespace norrik::interchange {

std::string SystemErrorText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace norrik::interchange
