#include "diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace podcore {

int Trace(const char* /*message*/) {
    return 1;
}

int TraceFormat(const char* format, ...) {
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return Trace(text);
}

void Print(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::fflush(stdout);
}

std::string StateFilePath(const char* baseName) {
    namespace fs = std::filesystem;
    fs::path folder;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state != '\0')
        folder = state;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        folder = fs::path(home) / ".local" / "state";
    else
        folder = fs::temp_directory_path();
    folder /= "norrik";
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return (folder / baseName).string();
}

} // namespace podcore
