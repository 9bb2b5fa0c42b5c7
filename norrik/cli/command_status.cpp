#include "command_status.h"

#include "podcore_api.h"

#include <cstdio>
#include <filesystem>

namespace norrik::cli {

int Finish(int status, const std::string& message) {
    if (!message.empty())
        std::fprintf(stderr, "norrik-cli: %s\n", message.c_str());
    return status;
}

bool BindProgramLibrary(std::string& error) {
    std::error_code ignored;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    return LoadPodcore(DefaultPodcoreCandidates(folder.string()), Podcore(), error);
}

} // namespace norrik::cli
