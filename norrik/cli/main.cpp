// norrik-cli: decodes a capture file on the command line, printing exactly what the decoder
// window would show, and converts captures between formats.
#include "capture_decode.h"
#include "cli_options.h"
#include "convert_command.h"
#include "podcore_api.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

int Fail(const std::string& reason) {
    std::fprintf(stderr, "norrik-cli: %s\n", reason.c_str());
    return 2;
}

// What reading a file changed: told, without failing the command.
void Tell(const std::vector<std::string>& notes) {
    for (const std::string& note : notes)
        std::fprintf(stderr, "norrik-cli: note: %s\n", note.c_str());
}

bool BindLibrary(std::string& error) {
    std::error_code ignored;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    return norrik::LoadPodcore(norrik::DefaultPodcoreCandidates(folder.string()), norrik::Podcore(),
                               error);
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace norrik;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    std::vector<std::string> notes;
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
        std::fputs((cli::CliUsage() + "\n" + cli::ConvertUsage()).c_str(), stdout);
        return 0;
    }
    if (!arguments.empty() && arguments[0] == "convert") {
        cli::ConvertRequest request;
        if (!cli::ParseConvertArguments({arguments.begin() + 1, arguments.end()}, request, error))
            return Fail(error);
        if (!BindLibrary(error) || !cli::RunConvert(request, notes, error))
            return Fail(error);
        Tell(notes);
        return 0;
    }
    cli::CliRequest request;
    if (!cli::ParseCliArguments(arguments, request, error))
        return Fail(error);
    if (!BindLibrary(error))
        return Fail(error);
    const auto toStandardOutput = [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
    };
    if (!cli::DecodeCaptureFile(request, toStandardOutput, notes, error))
        return Fail(error);
    Tell(notes);
    return 0;
}
