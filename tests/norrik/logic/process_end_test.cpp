#include "app/process_end.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace norrik {
namespace {

// Each case runs in a child process; an exit with status 3 means EndProcess did not end it.
constexpr int kNotEnded = 3;

TEST(ProcessEnd, EndsAtOnceWithStatusZeroAndWritesOutWhatIsBuffered) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "process_end_test_buffered.txt").string();
    std::filesystem::remove(path);
    EXPECT_EXIT(
        {
            std::FILE* file = std::fopen(path.c_str(), "w");
            std::fputs("buffered line\n", file);
            EndProcess();
            std::_Exit(kNotEnded);
        },
        testing::ExitedWithCode(0), "");
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), "buffered line\n");
    std::filesystem::remove(path);
}

TEST(ProcessEnd, WaitsUntilTheFileBeingWrittenIsDone) {
    EXPECT_EXIT(
        {
            {
                const FileBeingWritten outer;
                {
                    const FileBeingWritten inner;
                    EndProcess();
                }
                std::fputs("outer writing finished\n", stderr);
            }
            std::_Exit(kNotEnded);
        },
        testing::ExitedWithCode(0), "outer writing finished");
}

TEST(ProcessEnd, AWriteWithoutAnEndAskedGoesOn) {
    EXPECT_EXIT(
        {
            { const FileBeingWritten writing; }
            std::fputs("still running\n", stderr);
            std::_Exit(kNotEnded);
        },
        testing::ExitedWithCode(kNotEnded), "still running");
}

} // namespace
} // namespace norrik
