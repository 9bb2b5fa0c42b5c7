#include "speedtest_command.h"

#include "app/acquisition_settings.h"
#include "command_output.h"
#include "command_status.h"
#include "option_words.h"
#include "pod_choice.h"
#include "podcore_api.h"

#include <cstdio>

namespace norrik::cli {
namespace {

// The self-test streams into the first 65536 samples of the library's buffer.
constexpr uint32_t kTestSamples = 65536;

std::string Trimmed(const char* label) {
    std::string text = label;
    return text.substr(text.find_first_not_of(' '));
}

} // namespace

bool ParseSpeedtestArguments(const std::vector<std::string>& arguments,
                             SpeedtestRequest& request, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name;
        std::string value;
        if (arguments[i].rfind("--", 0) != 0) {
            error = "unexpected argument '" + arguments[i] + "' for speedtest";
            return false;
        }
        if (!TakeOption(arguments, i, name, value, error))
            return false;
        if (name != "--pod") {
            error = "unknown option " + name + " for speedtest";
            return false;
        }
        if (!ParsePodOption(value, request.podId, error))
            return false;
    }
    return true;
}

std::string SpeedtestUsage() {
    return "Usage: norrik-cli speedtest [--pod ID]\n"
           "Streams from the pod for 5 seconds at each rate, fastest first, and prints the\n"
           "fastest rate that streamed without a break (\"12 Msps\"); up to about 45 seconds.\n"
           "Exit status: 0 a rate passed, 1 no pod or no rate passed, 2 bad arguments.\n";
}

int RunSpeedtest(const SpeedtestRequest& request, std::string& rate, std::string& message) {
    PodcoreApi& pod = Podcore();
    uint32_t podId = 0;
    if (!OpenChosenPod(pod, request.podId, podId, message))
        return 1;
    if (pod.MakeBuffer(kTestSamples) == nullptr) {
        message = "the library could not allocate the self-test's buffer";
        return 1;
    }
    const int32_t code = pod.SpeedTest();
    for (const RateChoice& choice : kRates) {
        if (code == choice.code) {
            rate = Trimmed(choice.label);
            return 0;
        }
    }
    message = "no rate streamed without a break on pod " + std::to_string(podId);
    return 1;
}

int SpeedtestCommand(const std::vector<std::string>& arguments) {
    SpeedtestRequest request;
    std::string message;
    if (!ParseSpeedtestArguments(arguments, request, message) || !BindProgramLibrary(message))
        return Finish(kBadArguments, message);
    std::string rate;
    const int status = RunSpeedtest(request, rate, message);
    if (status == 0)
        std::fprintf(CommandOutput(), "%s\n", rate.c_str());
    return Finish(status, message);
}

} // namespace norrik::cli
