// How a command of norrik-cli ends: its exit status, with its one-line reason on standard error.
#pragma once

#include <string>

namespace norrik::cli {

// The status for bad arguments, an input that cannot be read or an output that cannot be
// written.
constexpr int kBadArguments = 2;

// Returns `status`, having told `message` (if any) on standard error as "norrik-cli: ...".
int Finish(int status, const std::string& message);

// Binds the library the program was installed with, from the program's own folder first.
bool BindProgramLibrary(std::string& error);

} // namespace norrik::cli
