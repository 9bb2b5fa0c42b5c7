// norrik-cli: decodes a capture file on the command line, printing exactly what the decoder
// window would show, converts captures between formats, and scans, captures from and tests pods.
#include "app/virtual_pod_option.h"
#include "capture_command.h"
#include "capture_decode.h"
#include "command_status.h"
#include "cli_options.h"
#include "command_output.h"
#include "convert_command.h"
#include "scan_command.h"
#include "speedtest_command.h"

#include <algorithm>
#include <cstdio>

namespace {

int Fail(const std::string& reason) {
    return norrik::cli::Finish(norrik::cli::kBadArguments, reason);
}

// What reading a file changed: told, without failing the command.
void Tell(const std::vector<std::string>& notes) {
    for (const std::string& note : notes)
        std::fprintf(stderr, "norrik-cli: note: %s\n", note.c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace norrik;
    cli::SeparateCommandOutput();
    if (const auto podIds = VirtualPodRequest(argc, argv))
        UseVirtualPods(*podIds);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::erase_if(arguments, [](const std::string& a) { return IsVirtualPodOption(a); });
    std::string error;
    std::vector<std::string> notes;
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
        std::fputs((cli::CliUsage() + "\n" + cli::ConvertUsage() + "\n" + cli::ScanUsage() +
                    "\n" + cli::CaptureUsage() + "\n" + cli::SpeedtestUsage() + "\n" +
                    "Every command takes --virtual-pod[=IDS]: the library's virtual pods (IDS\n"
                    "such as 5,9; one pod, identifier 1, without) instead of USB hardware.\n")
                       .c_str(),
                   cli::CommandOutput());
        return 0;
    }
    const std::string command = arguments.empty() ? std::string() : arguments[0];
    const std::vector<std::string> rest(arguments.begin() + (arguments.empty() ? 0 : 1),
                                        arguments.end());
    if (command == "scan")
        return cli::ScanCommand(rest);
    if (command == "capture")
        return cli::CaptureCommand(rest);
    if (command == "speedtest")
        return cli::SpeedtestCommand(rest);
    if (!arguments.empty() && arguments[0] == "convert") {
        cli::ConvertRequest request;
        if (!cli::ParseConvertArguments({arguments.begin() + 1, arguments.end()}, request, error))
            return Fail(error);
        if (!cli::BindProgramLibrary(error) || !cli::RunConvert(request, notes, error))
            return Fail(error);
        Tell(notes);
        return 0;
    }
    cli::CliRequest request;
    if (!cli::ParseCliArguments(arguments, request, error))
        return Fail(error);
    if (!cli::BindProgramLibrary(error))
        return Fail(error);
    const auto toStandardOutput = [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), cli::CommandOutput());
    };
    if (!cli::DecodeCaptureFile(request, toStandardOutput, notes, error))
        return Fail(error);
    Tell(notes);
    return 0;
}
