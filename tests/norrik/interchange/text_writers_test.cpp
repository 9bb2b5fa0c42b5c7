// The dump and table writers' text, exactly: the 20 wires and columns, times rounded to the
// timescale, the rate recorded, and the capture's end kept.
#include "interchange_files.h"

#include "interchange/foreign_formats.h"

#include <gtest/gtest.h>

namespace norrik::interchange {
namespace {

constexpr uint32_t P0 = 1, VDD = 1u << 20, BIT18 = 1u << 18;

std::string Written(CaptureFormat format, const std::vector<uint32_t>& samples, uint64_t rate,
                    WriteOptions options = {}) {
    const std::string path = testing::TestPath("written." + std::string(FormatName(format)));
    std::string error;
    EXPECT_TRUE(
        MakeWriter(format, options)->Write({samples.data(), samples.size(), rate}, path, {}, error))
        << error;
    return testing::ReadAll(path);
}

std::string DumpHeader(const char* rate, const char* unit) {
    std::string header =
        std::string("$version Tarnwick Logic Analyzer $end\n$comment Sample rate ") + rate +
        " $end\n$timescale 1 " + unit + " $end\n$scope module norrik $end\n";
    const char* names[] = {"P0",  "P1",  "P2",  "P3",  "P4",  "P5",  "P6",  "P7",   "P8",  "P9",
                           "P10", "P11", "P12", "P13", "P14", "P15", "Sin", "Sout", "RES", "VDD"};
    const char ids[] = "!\"#$%&'()*+,-./:;<=>";
    for (int k = 0; k < 20; ++k)
        header += std::string("$var wire 1 ") + ids[k] + " " + names[k] + " $end\n";
    return header + "$upscope $end\n$enddefinitions $end\n";
}

std::string AllLow() {
    const char ids[] = "!\"#$%&'()*+,-./:;<=>";
    std::string text;
    for (int k = 0; k < 20; ++k)
        text += std::string("0") + ids[k] + "\n";
    return text;
}

TEST(DumpWriter, WholeNanosecondsAndItsEnd) {
    // Bit 18 has no line: its change writes nothing.
    const std::string text = Written(CaptureFormat::Vcd, {0, P0, P0 | BIT18, VDD}, 2'000'000);
    EXPECT_EQ(text, DumpHeader("2 MHz", "ns") + "#0\n$dumpvars\n" + AllLow() + "$end\n#500\n1!\n" +
                        "#1500\n0!\n1>\n#2000\n");
}

TEST(DumpWriter, PicosecondsRoundedWhereThePeriodIsNoWholeNanosecond) {
    const std::string text = Written(CaptureFormat::Vcd, {0, P0, 0, P0}, 3'000'000);
    EXPECT_EQ(text, DumpHeader("3 MHz", "ps") + "#0\n$dumpvars\n" + AllLow() +
                        "$end\n#333333\n1!\n#666667\n0!\n#1000000\n1!\n#1333333\n");
}

TEST(TableWriter, ARowPerChangeOrPerSampleAndTheRateAtTheEnd) {
    const std::string header = "Time [s],P0,P1,P2,P3,P4,P5,P6,P7,P8,P9,P10,P11,P12,P13,P14,P15,"
                               "Sin,Sout,RES,VDD\n";
    const std::string low = ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
    const std::string p0 = ",1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
    const std::string vdd = ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1\n";
    const std::vector<uint32_t> samples = {0, P0, P0, P0, VDD, VDD, VDD};
    EXPECT_EQ(Written(CaptureFormat::Csv, samples, 24'000'000),
              header + "0.000000000" + low + "0.000000042" + p0 + "0.000000167" + vdd +
                  "0.000000250" + vdd + "; Samplerate: 24 MHz\n");
    EXPECT_EQ(Written(CaptureFormat::Csv, {0, P0}, 1'000'000, {CsvRows::Samples}),
              header + "0.000000000" + low + "0.000001000" + p0 + "; Samplerate: 1 MHz\n");
}

} // namespace
} // namespace norrik::interchange
