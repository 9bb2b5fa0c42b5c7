#include "process_end.h"

#include <cstdio>
#include <cstdlib>

namespace norrik {
namespace {

// Both are used on the user-interface thread only.
int filesBeingWritten = 0;
bool endAsked = false;

[[noreturn]] void EndNow() {
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace

void EndProcess() {
    if (filesBeingWritten > 0) {
        endAsked = true;
        return;
    }
    EndNow();
}

FileBeingWritten::FileBeingWritten() {
    ++filesBeingWritten;
}

FileBeingWritten::~FileBeingWritten() {
    if (--filesBeingWritten == 0 && endAsked)
        EndNow();
}

} // namespace norrik
