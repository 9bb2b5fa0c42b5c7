// Standard output carries only what a command prints: the library writes diagnostic lines on
// standard output, so those are sent to standard error and the command writes to a copy of the
// original standard output kept aside.
#pragma once

#include <cstdio>

namespace norrik::cli {

// Keeps the original standard output for the command and points file descriptor 1 at standard
// error. Call once, before the library is loaded.
void SeparateCommandOutput();

// Where the command's own output goes: the original standard output once separated.
FILE* CommandOutput();

} // namespace norrik::cli
