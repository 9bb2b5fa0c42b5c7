// Runs norrik-cli as a user would, through the shell, and keeps what it printed.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace cli_test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// `environment` holds assignments the shell puts before the program ("A=1 B=2").
inline CliRun RunCli(const std::string& arguments, const std::string& environment = "") {
    // Test processes run side by side: each keeps its own standard error file.
    const std::string errFile =
        testing::TempDir() + "cli_stderr_" + std::to_string(getpid()) + ".txt";
    const std::string command =
        environment + " " + std::string(NORRIK_CLI) + " " + arguments + " 2>" + errFile;
    CliRun run{-1, {}, {}};
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> chunk{};
    size_t got;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.out.append(chunk.data(), got);
    run.status = WEXITSTATUS(pclose(pipe));
    if (FILE* err = fopen(errFile.c_str(), "r")) {
        while ((got = fread(chunk.data(), 1, chunk.size(), err)) > 0)
            run.err.append(chunk.data(), got);
        fclose(err);
    }
    return run;
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string Temporary(const std::string& name) {
    return testing::TempDir() + "cli_" + std::to_string(getpid()) + "_" + name;
}

} // namespace cli_test
