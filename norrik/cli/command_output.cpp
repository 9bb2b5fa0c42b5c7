#include "command_output.h"

#include <fcntl.h>
#include <unistd.h>

namespace norrik::cli {
namespace {
FILE* commandOutput = nullptr;
} // namespace

void SeparateCommandOutput() {
    const int kept = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (kept < 0)
        return; // no descriptor to spare: the command shares standard output with the library
    FILE* stream = ::fdopen(kept, "w");
    if (stream == nullptr) {
        ::close(kept);
        return;
    }
    std::fflush(stdout);
    if (::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::fclose(stream);
        return;
    }
    commandOutput = stream;
}

FILE* CommandOutput() {
    return commandOutput != nullptr ? commandOutput : stdout;
}

} // namespace norrik::cli
