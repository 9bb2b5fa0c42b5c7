// The reading rules through each format's reader, on small files made for each case: which line
// each channel becomes, the rate read at, the samples resampled, every change told, and a clear
// reason for each kind of bad file.
#include "interchange_files.h"

#include "interchange/foreign_read.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace norrik::interchange {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing::WriteSession;
using testing::WriteText;

constexpr uint32_t P0 = 1u << 0, P1 = 1u << 1, P2 = 1u << 2, P7 = 1u << 7, SIN = 1u << 16,
                   SOUT = 1u << 17, RES = 1u << 19, VDD = 1u << 20;
constexpr uint32_t kRoomy = 1u << 20;

struct Read {
    bool ok = false;
    ForeignCapture capture;
    std::string error;
    std::vector<uint32_t> Samples() const {
        std::vector<uint32_t> samples(capture.samples.size());
        capture.samples.CopyTo(samples.data(), samples.size());
        return samples;
    }
};

Read ReadAs(CaptureFormat format, const std::string& path, ReadOptions options = {{}, kRoomy}) {
    Read read;
    read.ok = ReadForeignFile(format, path, options, {}, read.capture, read.error);
    return read;
}

std::string Metadata(const std::string& device) {
    return "[global]\nsigrok version=0.5.2\n\n[device 1]\ncapturefile=logic-1\n" + device;
}

std::string Bytes(std::initializer_list<uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

bool AnyNoteHas(const Read& read, const std::string& text) {
    for (const std::string& note : read.capture.notes) {
        if (note.find(text) != std::string::npos)
            return true;
    }
    return false;
}

TEST(SessionRead, ChunksJoinInTheNumericOrderOfTheirNamesWhateverTheirPlace) {
    const std::string device = "total probes=8\nsamplerate=1 MHz\nunitsize=1\n";
    const Read read =
        ReadAs(CaptureFormat::Sr, WriteSession("order.sr", {{"logic-1-10", Bytes({10, 10})},
                                                            {"metadata", Metadata(device)},
                                                            {"logic-1-2", Bytes({2, 2})},
                                                            {"version", "2"},
                                                            {"logic-1-1", Bytes({1, 1})},
                                                            {"logic-2-1", Bytes({99})}}));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_THAT(read.Samples(), ElementsAre(1, 1, 2, 2, 10, 10));
    EXPECT_EQ(read.capture.rateCode, 17);
    EXPECT_THAT(read.capture.notes, ElementsAre());
}

// A first-version session: one chunk under the capture file's own name, blanks around '=', more
// probes counted than a sample's byte holds, a rate below all nine.
TEST(SessionRead, AFirstVersionSessionIsResampledAndTold) {
    const std::string metadata =
        "[global]\nsigrok version = 0.2.0\n[device 1]\ndriver = ols\ncapturefile = logic-1\n"
        "unitsize = 1\ntotal probes = 32\nsamplerate = 200 kHz\nprobe1 = SCL\nprobe2 = SDA\n"
        " trigger2 = 0\n";
    const Read read = ReadAs(
        CaptureFormat::Sr,
        WriteSession("v1.sr",
                     {{"version", "1"}, {"logic-1", Bytes({3, 1, 0, 2})}, {"metadata", metadata}}));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.capture.rateCode, 17);
    std::vector<uint32_t> expected;
    for (uint32_t word : {P0 | P1, P0, 0u, P1})
        expected.insert(expected.end(), 5, word);
    EXPECT_THAT(read.Samples(), ElementsAreArray(expected));
    EXPECT_THAT(read.capture.notes,
                ElementsAre("Channels read by their number: SCL as P0, SDA as P1.",
                            "The file's rate, 200 kHz, is read at 1 MS/s."));
}

// Probe k is bit k - 1 whether or not the probes below it are listed; names decide when every
// probe carries a line's name, in any case.
TEST(SessionRead, ProbesBecomeLinesByNameOrByNumber) {
    struct Case {
        const char* probes;
        uint8_t sample;
        uint32_t word;
    };
    const Case cases[] = {
        {"probe2=Sin\nprobe5=vdd\n", 0x12, SIN | VDD},
        {"probe3=clock\n", 0x04, P2},
        {"probe1=P7\nprobe8=P0\n", 0x81, P0 | P7},
        {"probe1=P7\nprobe8=P7\n", 0x80, P7}, // one name twice: by number
        {"", 0xFF, 0xFF},                     // no probe listed: every bit is one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.probes);
        const std::string device =
            std::string("total probes=8\nsamplerate=1 MHz\n") + c.probes + "unitsize=1\n";
        const Read read = ReadAs(CaptureFormat::Sr,
                                 WriteSession("probes.sr", {{"version", "2"},
                                                            {"metadata", Metadata(device)},
                                                            {"logic-1-1", Bytes({c.sample})}}));
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_THAT(read.Samples(), ElementsAre(c.word));
    }
}

// Channels 17 to 20 are the module's lines; further ones are dropped and told, as are analog
// channels and probes beyond the unitsize.
TEST(SessionRead, WhatHasNoLineIsDroppedAndTold) {
    std::string device = "total probes=40\nsamplerate=1 MHz\ntotal analog=2\nanalog25=A0\n";
    for (int k = 1; k <= 24; ++k)
        device += "probe" + std::to_string(k) + "=D" + std::to_string(k - 1) + "\n";
    device += "probe33=E0\nunitsize=3\n";
    const Read read =
        ReadAs(CaptureFormat::Sr, WriteSession("wide.sr", {{"version", "2"},
                                                           {"metadata", Metadata(device)},
                                                           {"logic-1-1", Bytes({0xFF, 0xFF, 0xFF})},
                                                           {"analog-1-25-1", "abcd"}}));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_THAT(read.Samples(), ElementsAre(0xFFFF | SIN | SOUT | RES | VDD));
    EXPECT_TRUE(AnyNoteHas(read, "dropped: 21 (D20), 22 (D21), 23 (D22), 24 (D23)."));
    EXPECT_TRUE(AnyNoteHas(read, "2 analog channels were ignored"));
    EXPECT_TRUE(AnyNoteHas(read, "beyond the 24 bits of a sample"));
}

TEST(SessionRead, TheRateIsTheSmallestOfTheNineAtOrAboveTheFilesOrTheOneAskedFor) {
    struct Case {
        const char* samplerate; // empty: none recorded
        std::optional<uint8_t> asked;
        uint8_t code;
        std::vector<uint32_t> samples;
        const char* note; // empty: none
    };
    const std::vector<Case> cases = {
        {"2 MHz", {}, 27, {0, 1, 2, 3}, ""},
        {"2.5 MHz", {}, 37, {0, 0, 1, 2, 3}, "2.5 MHz, is read at 3 MS/s."},
        {"48 MHz", {}, 247, {0, 2}, "is read at 24 MS/s. Pulses shorter than a sample"},
        {"2 MHz", uint8_t{17}, 17, {0, 2}, "2 MHz, is read at 1 MS/s. Pulses shorter"},
        {"", {}, 27, {0, 1, 2, 3}, "records no sample rate: its samples are read as 2 MS/s"},
        {"", uint8_t{47}, 47, {0, 1, 2, 3}, "records no sample rate: its samples are read as 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.samplerate) + " asked " + std::to_string(c.asked.value_or(0)));
        const std::string rate = *c.samplerate ? std::string("samplerate=") + c.samplerate : "";
        const std::string device = "total probes=8\n" + rate + "\nunitsize=1\n";
        const Read read = ReadAs(CaptureFormat::Sr,
                                 WriteSession("rates.sr", {{"version", "2"},
                                                           {"metadata", Metadata(device)},
                                                           {"logic-1-1", Bytes({0, 1, 2, 3})}}),
                                 {c.asked, kRoomy});
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_EQ(read.capture.rateCode, c.code);
        EXPECT_THAT(read.Samples(), ElementsAreArray(c.samples));
        if (*c.note)
            EXPECT_TRUE(AnyNoteHas(read, c.note)) << ::testing::PrintToString(read.capture.notes);
        else
            EXPECT_THAT(read.capture.notes, ElementsAre());
    }
}

TEST(SessionRead, MoreSamplesThanTheAdviceAreCutAndTold) {
    const std::string device = "total probes=8\nsamplerate=1 MHz\nunitsize=1\n";
    const Read read = ReadAs(CaptureFormat::Sr,
                             WriteSession("long.sr", {{"version", "2"},
                                                      {"metadata", Metadata(device)},
                                                      {"logic-1-1", std::string(200000, '\1')}}),
                             {{}, 100000});
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.capture.samples.size(), 65536u);
    EXPECT_THAT(read.capture.notes,
                ElementsAre("Only the first 65536 of the file's 200000 samples at 1 MS/s were "
                            "read: the memory allows no more."));
}

TEST(DumpRead, ScalarWiresOnTheirTimescaleWithTheRateOfTheShortestPulse) {
    const std::string dump = "$date today $end\n$timescale 10 ns $end\n$scope module top $end\n"
                             "$var wire 1 ! p0 $end\n$var reg 8 \" bus [7:0] $end\n"
                             "$var real 64 # t $end\n$var wire 1 % VDD $end\n$upscope $end\n"
                             "$enddefinitions $end\n#0\n$dumpvars\n1!\nx%\nb0 \"\nr0.5 #\n$end\n"
                             "#10 0! 1%\n#30\nz!\nb101 \"\n#40\n1!\n#50\n";
    const Read read = ReadAs(CaptureFormat::Vcd, WriteText("wires.vcd", dump));
    ASSERT_TRUE(read.ok) << read.error;
    // The shortest value lasts 100 ns: 12 MS/s (83 ns) is the slowest rate that fits it.
    EXPECT_EQ(read.capture.rateCode, 127);
    std::vector<uint32_t> expected;
    for (int j = 0; j < 6; ++j) // 500 ns at 12 MS/s
        expected.push_back(j * 1000 < 12 * 100 ? P0 : j * 1000 < 12 * 400 ? VDD : P0 | VDD);
    EXPECT_THAT(read.Samples(), ElementsAreArray(expected));
    EXPECT_THAT(read.capture.notes,
                ElementsAre("Variables other than 1-bit wires were ignored: bus[7:0] (reg 8), "
                            "t (real 64).",
                            "The file records no sample rate: read at 12 MS/s, its shortest "
                            "pulse being 100 ns."));
}

// Another analyzer's dump records its rate in a comment and writes changes on the time's line.
TEST(DumpRead, ARecordedRateIsKept) {
    const std::string dump = "$comment\n  Acquisition with 2/8 channels at 1 MHz\n$end\n"
                             "$timescale 1 us $end\n$scope module libsigrok $end\n"
                             "$var wire 1 ! SCL $end\n$var wire 1 \" SDA $end\n$upscope $end\n"
                             "$enddefinitions $end\n#0 1! 1\"\n#3 0\"\n#4 0!\n#6\n";
    const Read read = ReadAs(CaptureFormat::Vcd, WriteText("analyzer.vcd", dump));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.capture.rateCode, 17);
    EXPECT_THAT(read.Samples(), ElementsAre(P0 | P1, P0 | P1, P0 | P1, P0, 0, 0));
    EXPECT_THAT(read.capture.notes,
                ElementsAre("Channels read by their number: SCL as P0, SDA as P1."));
}

TEST(DumpRead, PulsesShorterThanTheFastestRateAreTold) {
    const std::string dump = "$timescale 1 ns $end\n$var wire 1 ! P0 $end\n$enddefinitions $end\n"
                             "#0\n0!\n#30\n1!\n#60\n0!\n#200\n";
    const Read read = ReadAs(CaptureFormat::Vcd, WriteText("short.vcd", dump));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.capture.rateCode, 247);
    EXPECT_TRUE(AnyNoteHas(read, "shortest pulse being 30 ns. Pulses shorter than a sample at "
                                 "24 MS/s may be lost."));
}

TEST(TableRead, ColumnsByNameOrOrderTimesOrSampleNumbers) {
    struct Case {
        const char* name;
        const char* table;
        uint8_t code;
        std::vector<uint32_t> samples;
    };
    const std::vector<Case> cases = {
        {"named columns in any order, microseconds",
         "Time [us],VDD,\"P0\"\n0,1,0\n1,0,1\n2,1,1\n4,0,0\n",
         17,
         {VDD, P0, VDD | P0, VDD | P0, 0}},
        {"columns by order, comments and blank lines skipped, times from the first row",
         "; a table\nt,a,b\n\n-0.000002,1,0\n# note\n-0.0000015,0,1\n0,1,1\n",
         27,
         {P0, P1, P1, P1, P0 | P1}},
        {"numbered samples and a recorded rate",
         "\xEF\xBB\xBFSample,P2,Sout\n0,1,0\n2,0,1\n3,1,1\n; Samplerate: 4 MHz\n",
         47,
         {P2, P2, SOUT, P2 | SOUT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read read = ReadAs(CaptureFormat::Csv, WriteText("table.csv", c.table));
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_EQ(read.capture.rateCode, c.code);
        EXPECT_THAT(read.Samples(), ElementsAreArray(c.samples));
    }
}

// Each bad file gets its reason; none is read in part.
TEST(ForeignRead, BadFilesSayWhy) {
    const std::string device = "total probes=8\nsamplerate=1 MHz\nunitsize=";
    int sessions = 0;
    const auto session = [&](std::vector<std::pair<std::string, std::string>> entries) {
        return WriteSession("bad" + std::to_string(++sessions) + ".sr", entries);
    };
    const std::string header = "$timescale 1 ns $end\n$var wire 1 ! P0 $end\n";
    struct Case {
        const char* name;
        CaptureFormat format;
        std::string path;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a zip without metadata", CaptureFormat::Sr,
         session({{"version", "2"}, {"logic-1-1", "x"}}), "holds no metadata"},
        {"a zip without version", CaptureFormat::Sr,
         session({{"metadata", Metadata(device + "1\n")}, {"logic-1-1", "x"}}), "holds no version"},
        {"a third version", CaptureFormat::Sr,
         session({{"version", "3"}, {"metadata", Metadata(device + "1\n")}}),
         "version '3' is not one"},
        {"a chunk shorter than its unitsize", CaptureFormat::Sr,
         session({{"version", "2"},
                  {"metadata", Metadata(device + "3\n")},
                  {"logic-1-1", "abc"},
                  {"logic-1-2", "ab"}}),
         "logic-1-2 holds 2 bytes, not whole samples of 3 bytes"},
        {"a samplerate of 0", CaptureFormat::Sr,
         session({{"version", "2"},
                  {"metadata", Metadata("samplerate=0 Hz\nunitsize=1\n")},
                  {"logic-1-1", "x"}}),
         "a samplerate of 0"},
        {"a samplerate that is no rate", CaptureFormat::Sr,
         session({{"version", "2"},
                  {"metadata", Metadata("samplerate=fast\nunitsize=1\n")},
                  {"logic-1-1", "x"}}),
         "the samplerate 'fast' is not a rate"},
        {"a unitsize of 0", CaptureFormat::Sr,
         session({{"version", "2"}, {"metadata", Metadata(device + "0\n")}, {"logic-1-1", "x"}}),
         "a unitsize of '0'"},
        {"a unitsize of 9", CaptureFormat::Sr,
         session({{"version", "2"}, {"metadata", Metadata(device + "9\n")}, {"logic-1-1", "x"}}),
         "a unitsize of '9'"},
        {"no samples", CaptureFormat::Sr,
         session({{"version", "2"}, {"metadata", Metadata(device + "1\n")}}),
         "holds no samples under 'logic-1'"},
        {"a zip that is not whole", CaptureFormat::Sr, WriteText("cut.sr", "PK\3\4 and no more"),
         "not a readable zip archive"},
        {"a dump without $enddefinitions", CaptureFormat::Vcd,
         WriteText("bad1.vcd", header + "#0\n1!\n"), "line 3: '#0' comes before $enddefinitions"},
        {"a header that never ends", CaptureFormat::Vcd, WriteText("bad2.vcd", header),
         "no $enddefinitions: the header never ends"},
        {"times that go backwards", CaptureFormat::Vcd,
         WriteText("bad3.vcd", header + "$enddefinitions $end\n#10\n1!\n#5\n0!\n"),
         "the time #5 goes back from #10"},
        {"a time 10^15 units ahead", CaptureFormat::Vcd,
         WriteText("bad4.vcd", header + "$enddefinitions $end\n#0\n1!\n#1000000000000000\n0!\n"),
         "beyond the 2147483648 any capture can hold"},
        {"a time beyond 64 bits", CaptureFormat::Vcd,
         WriteText("bad5.vcd", header + "$enddefinitions $end\n#0\n#99999999999999999999999\n"),
         "is too large"},
        {"a timescale VCD has not", CaptureFormat::Vcd,
         WriteText("bad6.vcd", "$timescale 3 ns $end\n$enddefinitions $end\n"),
         "'3 ns' is not one VCD allows"},
        {"text that is no value change", CaptureFormat::Vcd,
         WriteText("bad7.vcd", header + "$enddefinitions $end\n#0\ngoodbye\n"),
         "line 5: 'goodbye' is no value change"},
        {"ragged rows", CaptureFormat::Csv, WriteText("bad8.csv", "Time,P0,P1\n0,1,0\n1,1\n"),
         "line 3: the row has 2 fields, the header 3"},
        {"a row too long", CaptureFormat::Csv, WriteText("bad9.csv", "Time,P0\n0,1,0\n"),
         "the row has 3 fields, the header 2"},
        {"values that are not 0 or 1", CaptureFormat::Csv,
         WriteText("bad10.csv", "Time,P0,P1\n0,1,0\n1,x,1\n"), "column P0: 'x' is not 0 or 1"},
        {"times that go backwards in a table", CaptureFormat::Csv,
         WriteText("bad11.csv", "Time,P0\n1,1\n0.5,0\n"), "line 3: the time 0.5 goes back"},
        {"a time that is no number", CaptureFormat::Csv,
         WriteText("bad12.csv", "Time,P0\nsoon,1\n"), "'soon' is no time"},
        {"a header alone", CaptureFormat::Csv, WriteText("bad13.csv", "Time,P0\n"),
         "holds no samples"},
        {"a header without channels", CaptureFormat::Csv, WriteText("bad14.csv", "Time\n0\n"),
         "names no 0/1 columns"},
        {"an empty table", CaptureFormat::Csv, WriteText("bad15.csv", ""), "no header row"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read read = ReadAs(c.format, c.path);
        EXPECT_FALSE(read.ok);
        EXPECT_THAT(read.error, HasSubstr(c.reason));
    }
}

} // namespace
} // namespace norrik::interchange
