// The program's start: bind the pod driver library, then show the main window and open the
// capture file the command line names, if any.
#pragma once

#include <string>
#include <vector>

namespace norrik {

// Runs the program with an existing QApplication; returns the process exit status. A library
// that cannot be bound is reported in a message box and on standard error, with status 1.
int RunNorrik(const std::vector<std::string>& libraryCandidates);

} // namespace norrik
