#include "interrupt_flag.h"

#include <csignal>

namespace norrik::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void RaiseFlag(int) {
    interrupted = 1;
}

} // namespace

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = RaiseFlag;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() {
    return interrupted != 0;
}

} // namespace norrik::cli
