// norrik-cli speedtest: the library's throughput self-test on one pod, which streams a few
// seconds at each rate, fastest first, and names the fastest that lost no data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norrik::cli {

struct SpeedtestRequest {
    std::optional<uint32_t> podId; // else the first pod listed
};

// Parses the arguments after "speedtest". On a bad argument returns false with a reason.
bool ParseSpeedtestArguments(const std::vector<std::string>& arguments,
                             SpeedtestRequest& request, std::string& error);

std::string SpeedtestUsage();

// Runs the self-test; 0 with the fastest rate's label in `rate` ("12 Msps"), 1 with a reason
// in `message` when there is no pod or no rate streamed without a break.
int RunSpeedtest(const SpeedtestRequest& request, std::string& rate, std::string& message);

// The whole command: the arguments after "speedtest" parsed, the test run, the rate printed;
// the exit status.
int SpeedtestCommand(const std::vector<std::string>& arguments);

} // namespace norrik::cli
