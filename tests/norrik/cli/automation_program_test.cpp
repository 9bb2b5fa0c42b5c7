// Scan, capture and speedtest as a script runs them, against the library's virtual pods: what
// reaches standard output, the stored capture decoded, and the exit status of every end.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <thread>

namespace {

using namespace cli_test;
using testing::HasSubstr;

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

TEST(AutomationProgram, ScanListsTheVirtualPodsAndNothingElse) {
    const struct {
        const char* arguments;
        const char* environment;
        const char* out;
    } cases[] = {
        {"scan --virtual-pod=5,9", "", "5 high-speed ready\n9 high-speed ready\n"},
        {"--virtual-pod scan", "", "1 high-speed ready\n"},
        {"scan --virtual-pod=5,9", "PODCORE_SIM_FAULTS=full-speed",
         "5 full-speed ready\n9 full-speed ready\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.arguments, c.environment);
        EXPECT_EQ(run.status, 0) << c.arguments << run.err;
        EXPECT_EQ(run.out, c.out) << c.arguments;
    }
}

// One capture with a two-step trigger, stored, then decoded by the next command of the script.
TEST(AutomationProgram, CapturesWithATriggerAndTheFileDecodes) {
    const std::string file = Temporary("triggered.nrk");
    std::filesystem::remove(file);
    const CliRun capture = RunCli("capture --virtual-pod --rate 1 --trigger 'P0=low;P0=high' "
                                  "--position 50 --timeout 10 -o " + file);
    ASSERT_EQ(capture.status, 0) << capture.err;
    EXPECT_EQ(capture.out, "");
    // The header keeps the settings as the window's Save As writes them: the rate code, the
    // pattern as the trigger buttons hold it (P0 low in step one, byte field 4; high in step
    // two, byte field 24), the internal clock (byte field 44) and the trigger position.
    const std::string stored = ReadAll(file);
    ASSERT_EQ(stored.size(), 80u + 4u * 1048576u);
    EXPECT_EQ(stored[0], 17);
    EXPECT_EQ(stored[5 + 4 - 2], 2);
    EXPECT_EQ(stored[5 + 24 - 2], 1);
    EXPECT_EQ(stored[5 + 44 - 2], 1);
    EXPECT_EQ(stored[48], 50);
    const CliRun decode = RunCli("decode i2c --sda P1 --scl P0 " + file);
    ASSERT_EQ(decode.status, 0) << decode.err;
    EXPECT_THAT(decode.out, HasSubstr("SlaveID: A0 Write"));

    const CliRun vcd = RunCli("capture --virtual-pod --rate 1 -o " + Temporary("once.vcd"));
    ASSERT_EQ(vcd.status, 0) << vcd.err;
    EXPECT_EQ(ReadAll(Temporary("once.vcd")).rfind("$", 0), 0u);
}

TEST(AutomationProgram, BreaksAndTimeOutsStoreNothingUnlessKept) {
    // No line of the virtual pod's traffic ever holds all of P7 to P15 high at once.
    const std::string never =
        "--trigger 'P7=high,P8=high,P9=high,P10=high,P11=high,P12=high,P13=high,P14=high,"
        "P15=high,VDD=low' --timeout 0.5";
    const struct {
        std::string arguments;
        const char* environment;
        int status;
        const char* reason;
    } cases[] = {
        {"", "PODCORE_SIM_FAULTS=break-after=0.2", 3,
         "PC to Pod Connection Failure: There was a break in the sampled data. "},
        {never, "", 4, "no trigger within 0.5 s"},
    };
    for (const auto& c : cases) {
        for (const bool keep : {false, true}) {
            const std::string file = Temporary(keep ? "kept.nrk" : "dropped.nrk");
            std::filesystem::remove(file);
            const CliRun run =
                RunCli("capture --virtual-pod --rate 1 --samples 4000000 " + c.arguments +
                           (keep ? " --keep" : "") + " -o " + file,
                       c.environment);
            EXPECT_EQ(run.status, c.status) << c.arguments << run.err;
            EXPECT_THAT(run.err, HasSubstr(c.reason));
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(Exists(file), keep) << c.arguments;
        }
    }
}

TEST(AutomationProgram, BadArgumentsAndMissingPodsHaveTheirStatus) {
    const struct {
        const char* arguments;
        int status;
        const char* reason;
    } cases[] = {
        {"capture --virtual-pod --rate 5 -o x.nrk", 2, "--rate takes"},
        {"capture --virtual-pod", 2, "needs -o FILE"},
        {"capture --virtual-pod=5 --pod 6 --rate 1 -o x.nrk", 1, "no pod 6 is attached"},
        {"capture --virtual-pod --samples 2000000000 -o x.nrk", 2, "fit in memory"},
        {"speedtest --virtual-pod --pod 6", 1, "no pod 6 is attached"},
        {"speedtest --virtual-pod extra", 2, "unexpected argument"},
        {"scan --virtual-pod extra", 2, "scan takes no arguments"},
        {"capture --virtual-pod --rate 1 -o /nonexistent-folder/x.nrk", 2, "cannot write"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << run.err;
        EXPECT_THAT(run.err, HasSubstr(c.reason)) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}

TEST(AutomationProgram, CtrlCStopsTheCaptureCleanly) {
    const std::string file = Temporary("interrupted.nrk");
    std::filesystem::remove(file);
    const std::string errFile = Temporary("interrupted.err");
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        // Twenty seconds of sampling at 1 MS/s: far from done when the signal comes.
        ::execl(NORRIK_CLI, NORRIK_CLI, "capture", "--virtual-pod", "--rate", "1", "--samples",
                "20000000", "-o", file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal instead of stopping";
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_THAT(ReadAll(errFile), HasSubstr("capture stopped"));
    EXPECT_FALSE(Exists(file));
}

TEST(AutomationProgram, SpeedtestNamesARate) {
    const CliRun run = RunCli("speedtest --virtual-pod");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, testing::MatchesRegex("(24|16|12|8|6|4|3|2|1) Msps\n"));
}

} // namespace
