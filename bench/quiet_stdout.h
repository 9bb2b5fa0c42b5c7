// Sends standard output to /dev/null for its lifetime: the library writes diagnostic lines on
// every reduction, which are not part of a benchmark's figures.
#pragma once

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace bench {

class QuietStdout {
public:
    QuietStdout() : saved_(dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_;
};

} // namespace bench
