// The program as a user runs it: real capture files in, the decoder text out.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::string& arguments) {
    // Test processes run side by side: each keeps its own standard error file.
    const std::string errFile =
        testing::TempDir() + "cli_stderr_" + std::to_string(getpid()) + ".txt";
    const std::string command = std::string(NORRIK_CLI) + " " + arguments + " 2>" + errFile;
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

const std::string kCaptures = CAPTURES;

TEST(CliProgram, DecodesTheRealCaptures) {
    const CliRun serial = RunCli("decode serial --signal P0 " + kCaptures + "/uart_hello_9600.nrk");
    EXPECT_EQ(serial.status, 0) << serial.err;
    EXPECT_EQ(serial.out.rfind("Decoding Asynchronous serial bus transactions", 0), 0u);
    EXPECT_NE(serial.out.find("'H' = 0x48\r\n'e' = 0x65\r\n'l' = 0x6C"), std::string::npos);

    const CliRun spi = RunCli("decode spi --start 474 --ss P5 --sck P4 --so P3 --si P2 --so-edge "
                           "falling --si-edge falling --bit-order lsb --display hex " +
                           kCaptures + "/spi_allmodes_lsb.nrk");
    EXPECT_EQ(spi.status, 0) << spi.err;
    EXPECT_NE(spi.out.find("SI: 5A 6B 7C 8D 9E"), std::string::npos) << spi.out;

    const CliRun i2c = RunCli("decode i2c --sda P1 --scl P0 " + kCaptures + "/i2c_ad5258_restart.nrk");
    EXPECT_EQ(i2c.status, 0) << i2c.err;
    EXPECT_NE(i2c.out.find("SlaveID: 34 Write"), std::string::npos) << i2c.out;
}

TEST(CliProgram, FailuresAreOneLineOnStandardErrorAndStatusTwo) {
    const std::string cases[] = {
        "decode serial " + testing::TempDir() + "no-such-file.nrk",
        "decode serial --signal P99 " + kCaptures + "/uart_hello_9600.nrk",
        "frobnicate",
    };
    for (const std::string& arguments : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
        EXPECT_EQ(run.err.rfind("norrik-cli: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

// --help wins wherever it stands, also after arguments that are wrong.
TEST(CliProgram, HelpDocumentsTheCommands) {
    for (const char* arguments : {"--help", "decode bogus --help", "convert --help"}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_NE(run.out.find("norrik-cli decode spi"), std::string::npos) << arguments;
        EXPECT_NE(run.out.find("norrik-cli convert"), std::string::npos) << arguments;
    }
}

} // namespace
