// Ctrl-C during a long command: the signal only raises a flag, which the command's loop reads,
// so that it can stop the pod cleanly before the program ends.
#pragma once

namespace norrik::cli {

// From now on SIGINT and SIGTERM raise the flag instead of ending the program.
void CatchInterrupts();

bool Interrupted();

} // namespace norrik::cli
