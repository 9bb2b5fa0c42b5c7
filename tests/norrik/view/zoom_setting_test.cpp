#include "view/zoom_setting.h"

#include <gtest/gtest.h>

#include <vector>

namespace norrik {
namespace {

constexpr int kRowWidth = 649;

// The callers' limits: zoom in only while SubScale is at most 64, zoom out only while the
// buffer holds at least a row of columns at the current Scale.
bool MayZoomIn(const ZoomFields& fields) {
    return ReadZoomSetting(fields).SubScale <= 64;
}

bool MayZoomOut(const ZoomFields& fields, int32_t bufferSamples) {
    return static_cast<double>(bufferSamples) / kRowWidth >= ReadZoomSetting(fields).Scale;
}

TEST(ZoomAll, ShowsTheBufferAndATenthOnEitherSide) {
    AppState state;
    state.BufferSamples = 1048576;
    const ZoomFields fields = ZoomAllSetting(state, kRowWidth);
    EXPECT_EQ(state.ScreenStart, -104858);
    // 1.2 x 1048576 / 649, written unrounded.
    EXPECT_EQ(fields.ScaleP, " 1938.81540832049");
    EXPECT_EQ(fields.SubScale, "0");
    EXPECT_EQ(ReadZoomSetting(fields).Scale, 1939);
    EXPECT_EQ(ReadZoomSetting(fields).SubScale, 0);
}

TEST(ZoomAll, WithoutABufferStillReadsAsAValidSetting) {
    AppState state;
    const ZoomFields fields = ZoomAllSetting(state, kRowWidth);
    EXPECT_EQ(state.ScreenStart, 0);
    EXPECT_TRUE(IsValidZoom(ReadZoomSetting(fields).Scale, ReadZoomSetting(fields).SubScale));
}

TEST(ZoomSteps, LadderFromZoomAllInToTheFinestLevelAndOutToTheCoarsest) {
    AppState state;
    state.BufferSamples = 1048576;
    ZoomFields fields = ZoomAllSetting(state, kRowWidth);
    EXPECT_FALSE(MayZoomOut(fields, state.BufferSamples)); // 1939 > 1615.68

    std::vector<ZoomSetting> in;
    while (MayZoomIn(fields)) {
        fields = ZoomInStep(fields);
        in.push_back(ReadZoomSetting(fields));
    }
    const std::vector<ZoomSetting> expectedIn = {
        {969, 0}, {484, 0}, {242, 0}, {121, 0}, {60, 0}, {30, 0}, {15, 0}, {7, 0}, {3, 0},
        {1, 0},   {0, 2},   {0, 4},   {0, 8},   {0, 16}, {0, 32}, {0, 64}, {0, 128}};
    ASSERT_EQ(in.size(), expectedIn.size());
    for (size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(in[i].Scale, expectedIn[i].Scale) << "step " << i;
        EXPECT_EQ(in[i].SubScale, expectedIn[i].SubScale) << "step " << i;
    }

    std::vector<ZoomSetting> out;
    while (MayZoomOut(fields, state.BufferSamples)) {
        fields = ZoomOutStep(fields);
        out.push_back(ReadZoomSetting(fields));
    }
    const std::vector<ZoomSetting> expectedOut = {
        {0, 64},  {0, 32},  {0, 16},  {0, 8},    {0, 4},    {0, 2},   {0, 1},
        {2, 0},   {4, 0},   {8, 0},   {16, 0},   {32, 0},   {64, 0},  {128, 0},
        {256, 0}, {512, 0}, {1024, 0}, {2048, 0}};
    ASSERT_EQ(out.size(), expectedOut.size());
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].Scale, expectedOut[i].Scale) << "step " << i;
        EXPECT_EQ(out[i].SubScale, expectedOut[i].SubScale) << "step " << i;
    }
}

struct StepCase {
    const char* scaleP;
    const char* subScale;
    bool zoomIn;
    const char* expectedScaleP;
    const char* expectedSubScale;
};

TEST(ZoomSteps, HalveKeepingTheIntegerPartAndCrossOneSamplePerColumn) {
    const StepCase cases[] = {
        {" 3", " 0", true, " 1", " 0"},    // 1.5 loses its half
        {" 1", " 0", true, " 0", " 2"},    // in from one sample per column
        {" 0", " 2", true, " 0", " 4"},
        {"3.9", "0", true, " 1", " 0"},    // the text's value, not the rounded 4
        {" 0", " 3", false, " 0", " 1"},
        {" 0", " 1", false, " 2", " 0"},   // out from one column per sample
        {" 2", " 0", false, " 4", " 0"},
        {" 0", " 0", false, " 2", " 0"},   // an empty ScaleP counts as 1
    };
    for (const StepCase& c : cases) {
        const ZoomFields before{c.scaleP, c.subScale};
        const ZoomFields after = c.zoomIn ? ZoomInStep(before) : ZoomOutStep(before);
        EXPECT_EQ(after.ScaleP, c.expectedScaleP) << c.scaleP << "/" << c.subScale;
        EXPECT_EQ(after.SubScale, c.expectedSubScale) << c.scaleP << "/" << c.subScale;
    }
}

struct ReadCase {
    const char* scaleP;
    const char* subScale;
    int32_t scale;
    int32_t expectedSubScale;
};

TEST(ZoomRead, BadTextsComeBackAsTheNearestValidSetting) {
    const ReadCase cases[] = {
        {" 2", " 0", 2, 0},
        {" 1938.80246533128", "0", 1939, 0},
        {" 0", " 16", 0, 16},
        {" 0", " 0", 1, 0},                  // both 0
        {"", "", 1, 0},
        {"abc", "xyz", 1, 0},
        {"-5", " 0", 1, 0},                  // negative values
        {" 0", "-3", 1, 0},
        {"-5", "-3", 1, 0},
        {"-5", " 4", 0, 4},
        {" 4", " 8", 4, 0},                  // a SubScale with ScaleP above 0
        {" 0", " 129", 0, 128},              // SubScale above 128
        {" 0", " 1e9", 0, 128},
        {" 99999999999", " 0", kMaxScale, 0}, // too large for 32 bits
        {" 1e300", " 0", kMaxScale, 0},
        {" 4294967297", " 0", kMaxScale, 0},
        {" 0", " 4294967297", 0, 128},
        {" 0.4", " 0", 1, 0},                // rounds to 0
        {" 0", " 0.5", 1, 0},                // 0.5 rounds to the even 0
        {" 0", " 1.5", 0, 2},
        {" 2.5", " 0", 2, 0},
        {" 7 samples", " 0", 7, 0},
    };
    for (const ReadCase& c : cases) {
        const ZoomSetting read = ReadZoomSetting({c.scaleP, c.subScale});
        EXPECT_EQ(read.Scale, c.scale) << '"' << c.scaleP << "\" / \"" << c.subScale << '"';
        EXPECT_EQ(read.SubScale, c.expectedSubScale)
            << '"' << c.scaleP << "\" / \"" << c.subScale << '"';
    }
}

TEST(ZoomRead, StepsFromBadTextsStillReadAsValidSettings) {
    const ZoomFields bad[] = {{" 0", " 0"},       {"-5", "-3"},         {" 1e300", " 0"},
                              {" 0", " 1e300"},   {"-1e300", "-1e300"}, {" 4", " 8"},
                              {" 0", " 129"},     {"x", "y"},           {" 0.4", " 0"},
                              {" 2147483647", ""}, {"", " 2147483647"}};
    for (const ZoomFields& fields : bad) {
        for (const ZoomFields& stepped : {ZoomInStep(fields), ZoomOutStep(fields)}) {
            const ZoomSetting read = ReadZoomSetting(stepped);
            EXPECT_TRUE(IsValidZoom(read.Scale, read.SubScale))
                << fields.ScaleP << "/" << fields.SubScale << " -> " << stepped.ScaleP << "/"
                << stepped.SubScale;
        }
    }
}

TEST(ZoomRead, FieldsOfAValidSettingReadBackUnchanged) {
    for (const ZoomSetting setting : {ZoomSetting{1, 0}, ZoomSetting{kMaxScale, 0},
                                      ZoomSetting{0, 1}, ZoomSetting{0, kMaxSubScale}}) {
        const ZoomSetting read = ReadZoomSetting(ZoomFieldsOf(setting));
        EXPECT_EQ(read.Scale, setting.Scale);
        EXPECT_EQ(read.SubScale, setting.SubScale);
    }
}

} // namespace
} // namespace norrik
