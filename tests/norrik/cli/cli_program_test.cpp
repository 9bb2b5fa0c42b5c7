// The program as a user runs it: real capture files in, the decoder text out.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using cli_test::CliRun;
using cli_test::ReadAll;
using cli_test::RunCli;
using cli_test::Temporary;

const std::string kCaptures = CAPTURES;
const std::string kOtherTools = OTHER_TOOLS;

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

// Sessions another analyzer recorded on real buses decode to the traffic they carry; what
// reading them changed is told on standard error, and the command still succeeds.
TEST(CliProgram, DecodesSessionsOfAnotherAnalyzer) {
    const CliRun i2c = RunCli("decode i2c --sda P1 --scl P0 --start 1000 " + kOtherTools +
                              "/rtc_ds1307_200khz.sr");
    EXPECT_EQ(i2c.status, 0) << i2c.err;
    // As the session's own notes have it: the register pointer set to 0, then seven registers
    // read back.
    EXPECT_NE(i2c.out.find("START\r\n SlaveID: D0 Write\r\n ACK\r\n 0\r\n ACK\r\n\r\nSTART\r\n "
                           "SlaveID: D1 Read\r\n ACK\r\n30\r\n ACK\r\n35\r\n ACK\r\n23\r\n"),
              std::string::npos)
        << i2c.out;
    EXPECT_EQ(i2c.err, "norrik-cli: note: Channels read by their number: SCL as P0, SDA as P1.\n"
                       "norrik-cli: note: The file's rate, 200 kHz, is read at 1 MS/s.\n");

    const CliRun serial = RunCli("decode serial --signal P0 --baud 115200 " + kOtherTools +
                                 "/hello_world_8n1_115200.sr");
    EXPECT_EQ(serial.status, 0) << serial.err;
    // Each character is a line "'H' = 0x48".
    std::string letters;
    for (size_t at = serial.out.find("\n'"); at != std::string::npos;
         at = serial.out.find("\n'", at + 1))
        letters += serial.out[at + 2];
    EXPECT_NE(letters.find("Hello World!"), std::string::npos) << serial.out;
}

// A capture through each other format and back: the same samples, and the same decode from
// every format.
TEST(CliProgram, ConvertsBetweenEveryFormat) {
    const std::string capture = kCaptures + "/uart_hello_9600.nrk";
    const CliRun reference = RunCli("decode serial --signal P0 " + capture);
    ASSERT_EQ(reference.status, 0) << reference.err;
    const std::string samples = ReadAll(capture).substr(80);
    struct Way {
        const char* options;
        const char* output;
    };
    const Way ways[] = {{"", "through.sr"},
                        {"", "through.vcd"},
                        {"", "through.csv"},
                        {"--csv-rows samples", "rows.csv"},
                        {"--format=vcd", "through.dat"},
                        {"--format sr", "through.vcd"}};
    for (const Way& way : ways) {
        SCOPED_TRACE(std::string(way.options) + " " + way.output);
        const std::string foreign = Temporary(way.output);
        const CliRun out = RunCli("convert " + std::string(way.options) + " " + capture + " " +
                                  foreign);
        ASSERT_EQ(out.status, 0) << out.err;
        EXPECT_EQ(out.err, "");
        const CliRun decoded = RunCli("decode serial --signal P0 " + foreign);
        EXPECT_EQ(decoded.out, reference.out);
        const CliRun back = RunCli("convert " + foreign + " " + Temporary("back.nrk"));
        ASSERT_EQ(back.status, 0) << back.err;
        EXPECT_TRUE(ReadAll(Temporary("back.nrk")).substr(80) == samples);
    }
    // One row per sample: the header, 1,048,576 rows and the closing comment.
    const std::string rows = ReadAll(Temporary("rows.csv"));
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1 + 1048576 + 1);
}

TEST(CliProgram, ConvertTellsAnotherRate) {
    const CliRun run = RunCli("convert --rate 24 " + kOtherTools + "/rtc_ds1307_200khz.sr " +
                              Temporary("fast.csv"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("norrik-cli: note: The file's rate, 200 kHz, is read at 24 MS/s.\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(ReadAll(Temporary("fast.csv")).find("; Samplerate: 24 MHz"), std::string::npos);
}

TEST(CliProgram, ConvertFailuresAreOneLineAndStatusTwo) {
    std::ofstream(Temporary("bad.vcd")) << "$timescale 1 ns $end\n#0\n";
    const std::string capture = kCaptures + "/uart_hello_9600.nrk";
    const std::pair<std::string, std::string> cases[] = {
        {"convert " + capture, "not 1 files"},
        {"convert --format zip " + capture + " x.zip", "unknown format 'zip'"},
        {"convert --rate 5 " + capture + " x.sr", "--rate takes 1, 2, 3, 4, 6, 8, 12, 16 or 24"},
        {"convert --csv-rows some " + capture + " x.csv", "--csv-rows takes changes or samples"},
        {"convert --bogus 1 " + capture + " x.csv", "unknown option --bogus"},
        {"convert " + capture + " " + Temporary("x.txt"), "give --format"},
        {"convert " + Temporary("none.sr") + " " + Temporary("x.vcd"),
         "cannot read '" + Temporary("none.sr") + "': cannot open the file"},
        {"convert " + Temporary("bad.vcd") + " " + Temporary("x.csv"),
         "'#0' comes before $enddefinitions"},
        {"convert " + capture + " " + Temporary("no/such/folder.vcd"), "cannot write"},
    };
    for (const auto& [arguments, reason] : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err.rfind("norrik-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
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
