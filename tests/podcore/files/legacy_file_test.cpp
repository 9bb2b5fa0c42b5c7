#include "adopted_summary.h"
#include "capture_file_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace podcore::files::testing {
namespace {

// The eight 20-byte text areas and the byte field of the older format.
struct LegacyValues {
    std::array<std::array<char, 20>, 8> texts{};
    uint8_t byteField = 0;

    bool operator==(const LegacyValues&) const = default;

    static LegacyValues Distinct(char seed) {
        LegacyValues values;
        for (size_t t = 0; t < values.texts.size(); ++t) {
            for (size_t k = 0; k < 20; ++k)
                values.texts[t][k] = static_cast<char>(seed + t * 20 + k);
        }
        values.byteField = static_cast<uint8_t>(seed * 3);
        return values;
    }
};

template <typename Export>
int32_t CallLegacy(Export exportFunction, LegacyValues& v, const char* fileName) {
    auto& t = v.texts;
    return exportFunction(t[0].data(), t[1].data(), t[2].data(), t[3].data(), t[4].data(),
                          t[5].data(), t[6].data(), t[7].data(), &v.byteField, fileName);
}

Bytes LegacyFile(const LegacyValues& values, size_t sampleBytes) {
    Bytes file;
    for (const auto& text : values.texts)
        file.insert(file.end(), text.begin(), text.end());
    file.push_back(values.byteField);
    for (uint32_t i = 0; file.size() < 161 + sampleBytes; ++i)
        AppendLittleEndian32(file, PatternSample(i));
    file.resize(161 + sampleBytes);
    return file;
}

using LegacyFileTest = CaptureFileTest;

TEST_F(LegacyFileTest, SavesBufferLengthBytesAndReadsThemBack) {
    ASSERT_NE(MakePatternBuffer(65536), nullptr);
    LegacyValues saved = LegacyValues::Distinct('A');
    ASSERT_EQ(CallLegacy(&SaveFileData, saved, "old.cap"), 1);
    const Bytes file = ReadAll("old.cap");
    EXPECT_EQ(file, LegacyFile(saved, 65536)) << "BufferLength bytes, not samples";
    EXPECT_EQ(ReadAll("testit").size(), 200u);

    ReleaseBuffer();
    ASSERT_NE(MakeBuffer(65536), nullptr);
    LegacyValues opened = LegacyValues::Distinct('z');
    EXPECT_EQ(CallLegacy(&OpenFileData, opened, "old.cap"), 65536);
    EXPECT_EQ(opened, saved);
    EXPECT_EQ(Buffer().bufferLength, 65536u);
    for (uint32_t i = 0; i < 65536 / 4; ++i)
        ASSERT_EQ(static_cast<uint32_t>(LoggedData(i)), PatternSample(i)) << i;
    EXPECT_EQ(LoggedData(65536 / 4), 255);
}

// The read sets BufferLength to the bytes read. That only ever shrinks it, so everything that
// trusts BufferLength afterwards stays inside the allocation, and saving again writes the file
// that was read.
TEST_F(LegacyFileTest, ShortSampleSectionShrinksBufferLengthSafely) {
    const LegacyValues inFile = LegacyValues::Distinct('a');
    const Bytes original = LegacyFile(inFile, 1000);
    WriteAll("short.cap", original);
    ASSERT_NE(MakeBuffer(65536), nullptr);
    const uint64_t generation = Buffer().generation;

    LegacyValues opened;
    EXPECT_EQ(CallLegacy(&OpenFileData, opened, "short.cap"), 1000);
    EXPECT_EQ(opened, inFile);
    EXPECT_EQ(Buffer().bufferLength, 1000u);
    EXPECT_EQ(Buffer().actualCaptureLength, 1000u) << "valid samples beyond BufferLength";
    EXPECT_NE(Buffer().generation, generation);
    EXPECT_EQ(static_cast<uint32_t>(LoggedData(249)), PatternSample(249));
    EXPECT_EQ(LoggedData(5000), 255) << "clamped to sample 999, inside the allocation";

    ASSERT_EQ(CallLegacy(&SaveFileData, opened, "again.cap"), 1);
    EXPECT_EQ(ReadAll("again.cap"), original);

    // A larger file read next is still bounded by the shrunk length.
    WriteAll("long.cap", LegacyFile(inFile, 70000));
    EXPECT_EQ(CallLegacy(&OpenFileData, opened, "long.cap"), 1000);
}

TEST_F(LegacyFileTest, OpenLeavesTheSummaryOfTheSamplesRead) {
    WriteAll("capture.cap", LegacyFile(LegacyValues::Distinct('k'), 65536));
    ASSERT_NE(MakeBuffer(65536), nullptr);
    LegacyValues opened;
    ASSERT_EQ(CallLegacy(&OpenFileData, opened, "capture.cap"), 65536);
    EXPECT_TRUE(SummaryLeftByTheWriter(65536));
}

TEST_F(LegacyFileTest, CutAndMissingFilesLeaveWhatTheyDoNotHold) {
    const LegacyValues inFile = LegacyValues::Distinct('0');
    struct Case {
        const char* what;
        size_t fileBytes;
        size_t textsRead;
        bool byteFieldRead;
    };
    const Case cases[] = {
        {"empty", 0, 0, false},
        {"two and a half texts", 50, 2, false},
        {"texts without the byte field", 160, 8, false},
        {"header only", 161, 8, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = LegacyFile(inFile, 0);
        file.resize(c.fileBytes);
        WriteAll("cut.cap", file);
        ASSERT_NE(MakeBuffer(65536), nullptr);
        const LegacyValues before = LegacyValues::Distinct('~');
        LegacyValues opened = before;
        EXPECT_EQ(CallLegacy(&OpenFileData, opened, "cut.cap"), 0);
        for (size_t t = 0; t < 8; ++t)
            EXPECT_EQ(opened.texts[t], (t < c.textsRead ? inFile : before).texts[t]) << t;
        EXPECT_EQ(opened.byteField, (c.byteFieldRead ? inFile : before).byteField);
        EXPECT_EQ(Buffer().bufferLength, 0u);
        EXPECT_EQ(Buffer().actualCaptureLength, 0u);
        EXPECT_EQ(LoggedData(3), 0);
        ReleaseBuffer();
    }

    ASSERT_NE(MakeBuffer(65536), nullptr);
    LegacyValues untouched = LegacyValues::Distinct('~');
    EXPECT_EQ(CallLegacy(&OpenFileData, untouched, "absent.cap"), 0);
    EXPECT_EQ(untouched, LegacyValues::Distinct('~'));
    EXPECT_EQ(Buffer().bufferLength, 65536u);
}

TEST_F(LegacyFileTest, WithoutABufferOnlyTheFieldsMove) {
    LegacyValues saved = LegacyValues::Distinct('q');
    ASSERT_EQ(CallLegacy(&SaveFileData, saved, "empty.cap"), 1);
    EXPECT_EQ(ReadAll("empty.cap").size(), 161u);
    LegacyValues opened;
    EXPECT_EQ(CallLegacy(&OpenFileData, opened, "empty.cap"), 0);
    EXPECT_EQ(opened, saved);
    EXPECT_EQ(CallLegacy(&SaveFileData, saved, "missing/old.cap"), 0);
}

} // namespace
} // namespace podcore::files::testing
