// norrik-cli capture: one capture from a pod through the exports the window's Acquire drives,
// in the same order, stored with its settings.
#pragma once

#include "capture_options.h"

#include <string>
#include <vector>

namespace norrik::cli {

// Runs the capture and returns the program's exit status (see CaptureUsage); `message` then
// holds the one-line reason of any status but 0.
int RunCapture(const CaptureRequest& request, std::string& message);

// The whole command: the arguments after "capture" parsed, the capture run, its end told; the
// exit status.
int CaptureCommand(const std::vector<std::string>& arguments);

} // namespace norrik::cli
