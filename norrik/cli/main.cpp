// norrik-cli: decodes a capture file on the command line, printing exactly what the decoder
// window would show.
#include "capture_decode.h"
#include "cli_options.h"
#include "podcore_api.h"

#include <cstdio>
#include <filesystem>

namespace {

int Fail(const std::string& reason) {
    std::fprintf(stderr, "norrik-cli: %s\n", reason.c_str());
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace norrik;
    cli::CliRequest request;
    std::string error;
    if (!cli::ParseCliArguments({argv + 1, argv + argc}, request, error))
        return Fail(error);
    if (request.help) {
        std::fputs(cli::CliUsage().c_str(), stdout);
        return 0;
    }
    std::error_code ignored;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    if (!LoadPodcore(DefaultPodcoreCandidates(folder.string()), Podcore(), error))
        return Fail(error);
    std::string text;
    if (!cli::DecodeCaptureFile(request, text, error))
        return Fail(error);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
