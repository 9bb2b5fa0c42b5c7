// The capture and speedtest command lines: what good arguments set, and the reason a bad one
// is refused with.
#include "cli/capture_options.h"
#include "cli/speedtest_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace norrik::cli {
namespace {

using testing::HasSubstr;

CaptureRequest Parsed(const std::vector<std::string>& arguments) {
    CaptureRequest request;
    std::string error;
    EXPECT_TRUE(ParseCaptureArguments(arguments, request, error)) << error;
    return request;
}

TEST(CaptureOptions, DefaultsAreTheWindowsStartup) {
    const CaptureRequest request = Parsed({"-o", "out.nrk"});
    EXPECT_FALSE(request.podId);
    EXPECT_EQ(request.rateCode, 27);
    EXPECT_EQ(request.bufferSamples, 1'048'576);
    EXPECT_EQ(request.triggerPosition, 10);
    EXPECT_FALSE(request.externalClock);
    EXPECT_FALSE(request.timeoutSeconds);
    EXPECT_FALSE(request.keep);
    EXPECT_EQ(request.triggerLevels, (std::array<uint8_t, 257>{}));
    EXPECT_EQ(request.format, interchange::CaptureFormat::Nrk);
}

TEST(CaptureOptions, GoodArgumentsSetTheirField) {
    struct Case {
        std::vector<std::string> arguments;
        std::function<void(const CaptureRequest&)> check;
    };
    const Case cases[] = {
        {{"--pod", "9"}, [](const CaptureRequest& r) { EXPECT_EQ(r.podId, 9u); }},
        {{"--pod=65535"}, [](const CaptureRequest& r) { EXPECT_EQ(r.podId, 65535u); }},
        {{"--rate", "24"}, [](const CaptureRequest& r) { EXPECT_EQ(r.rateCode, 247); }},
        {{"--rate=1"}, [](const CaptureRequest& r) { EXPECT_EQ(r.rateCode, 17); }},
        // Rounded up to the size list's entries: whole millions, then whole blocks.
        {{"--samples", "1"}, [](const CaptureRequest& r) { EXPECT_EQ(r.bufferSamples, 1048576); }},
        {{"--samples", "1000000"},
         [](const CaptureRequest& r) { EXPECT_EQ(r.bufferSamples, 1048576); }},
        {{"--samples", "1000001"},
         [](const CaptureRequest& r) { EXPECT_EQ(r.bufferSamples, 2031616); }},
        {{"--position", "90"}, [](const CaptureRequest& r) { EXPECT_EQ(r.triggerPosition, 90); }},
        {{"--clock", "external-falling-low"},
         [](const CaptureRequest& r) {
             EXPECT_TRUE(r.externalClock);
             EXPECT_EQ(r.clockEdge, 1);
             EXPECT_EQ(r.trigQualifier, 2);
         }},
        {{"--clock", "external-rising-high"},
         [](const CaptureRequest& r) {
             EXPECT_TRUE(r.externalClock);
             EXPECT_EQ(r.clockEdge, 0);
             EXPECT_EQ(r.trigQualifier, 1);
         }},
        {{"--timeout", "0.5"}, [](const CaptureRequest& r) { EXPECT_EQ(r.timeoutSeconds, 0.5); }},
        {{"--keep"}, [](const CaptureRequest& r) { EXPECT_TRUE(r.keep); }},
        {{"--trigger", "p3=HIGH;sin=low"},
         [](const CaptureRequest& r) {
             EXPECT_EQ(r.triggerLevels[3], 1);
             EXPECT_EQ(r.triggerLevels[32 + 16], 2);
         }},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", "out.nrk"});
        SCOPED_TRACE(arguments.front());
        c.check(Parsed(arguments));
    }
}

TEST(CaptureOptions, TheOutputsExtensionTellsTheFormat) {
    EXPECT_EQ(Parsed({"-o", "a.vcd"}).format, interchange::CaptureFormat::Vcd);
    EXPECT_EQ(Parsed({"--output=a.sr"}).format, interchange::CaptureFormat::Sr);
    EXPECT_EQ(Parsed({"-o", "a.CSV"}).format, interchange::CaptureFormat::Csv);
}

TEST(CaptureOptions, BadArgumentsAreRefusedWithTheirReason) {
    const struct {
        std::vector<std::string> arguments;
        const char* reason;
    } cases[] = {
        {{}, "needs -o FILE"},
        {{"-o", "capture.txt"}, "cannot tell the format"},
        {{"-o"}, "needs a value"},
        {{"--rate", "5", "-o", "a.nrk"}, "--rate takes"},
        {{"--rate", "", "-o", "a.nrk"}, "--rate takes"},
        {{"--samples", "0", "-o", "a.nrk"}, "--samples takes"},
        {{"--samples", "-3", "-o", "a.nrk"}, "--samples takes"},
        {{"--samples", "2000000001", "-o", "a.nrk"}, "--samples takes"},
        {{"--samples", "1e6", "-o", "a.nrk"}, "--samples takes"},
        {{"--position", "9", "-o", "a.nrk"}, "--position takes"},
        {{"--position", "91", "-o", "a.nrk"}, "--position takes"},
        {{"--position", "50.5", "-o", "a.nrk"}, "--position takes"},
        {{"--timeout", "0", "-o", "a.nrk"}, "--timeout takes"},
        {{"--timeout", "nan", "-o", "a.nrk"}, "--timeout takes"},
        {{"--timeout", "inf", "-o", "a.nrk"}, "--timeout takes"},
        {{"--pod", "five", "-o", "a.nrk"}, "--pod takes"},
        {{"--pod", "4294967296", "-o", "a.nrk"}, "--pod takes"},
        {{"--clock", "external", "-o", "a.nrk"}, "--clock takes"},
        {{"--frobnicate", "1", "-o", "a.nrk"}, "unknown option --frobnicate"},
        {{"stray", "-o", "a.nrk"}, "unexpected argument 'stray'"},
        {{"--trigger", "P0=high;P1=low;P2=high", "-o", "a.nrk"}, "one or two steps"},
        {{"--trigger", "P16=high", "-o", "a.nrk"}, "'P16=high'"},
        {{"--trigger", "P0=up", "-o", "a.nrk"}, "'P0=up'"},
        {{"--trigger", "P0", "-o", "a.nrk"}, "'P0'"},
        {{"--trigger", "P0=high,", "-o", "a.nrk"}, "''"},
    };
    for (const auto& c : cases) {
        CaptureRequest request;
        std::string error;
        EXPECT_FALSE(ParseCaptureArguments(c.arguments, request, error)) << c.reason;
        EXPECT_THAT(error, HasSubstr(c.reason));
    }
}

TEST(TriggerSteps, ConditionsLandOnTheWindowsButtons) {
    std::array<uint8_t, 257> levels{};
    levels.fill(7); // nothing of an earlier pattern may survive
    std::string error;
    ASSERT_TRUE(ParseTriggerSteps("P0=rise,P3=high,Sin=low;VDD=fall,res=HIGH,sout=low", levels,
                                  error))
        << error;
    std::array<uint8_t, 257> expected{};
    expected[0] = 3;
    expected[3] = 1;
    expected[16] = 2;
    expected[32 + 20] = 4;
    expected[32 + 19] = 1;
    expected[32 + 17] = 2;
    EXPECT_EQ(levels, expected);
}

TEST(SpeedtestOptions, TakeOnlyAPod) {
    SpeedtestRequest request;
    std::string error;
    EXPECT_TRUE(ParseSpeedtestArguments({}, request, error));
    EXPECT_FALSE(request.podId);
    EXPECT_TRUE(ParseSpeedtestArguments({"--pod=5"}, request, error));
    EXPECT_EQ(request.podId, 5u);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--pod"}, {"--pod", "x"}, {"--rate", "24"}, {"5"}}) {
        EXPECT_FALSE(ParseSpeedtestArguments(bad, request, error)) << bad.front();
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace norrik::cli
