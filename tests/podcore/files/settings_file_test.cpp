#include "adopted_summary.h"
#include "capture_file_fixture.h"
#include "settings_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace podcore::files::testing {
namespace {

// The header exactly as other programs reading and writing these files lay it out.
Bytes ExpectedHeader(const SettingsValues& values) {
    Bytes header{values.rateCode};
    AppendLittleEndian32(header, values.sampleCount);
    header.insert(header.end(), values.bytes.begin(), values.bytes.end());
    for (uint32_t word : values.words)
        AppendLittleEndian32(header, word);
    return header;
}

uint32_t SampleAt(const Bytes& file, size_t index) {
    uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = value << 8 | file.at(80 + 4 * index + k);
    return value;
}

using SettingsFileTest = CaptureFileTest;

TEST_F(SettingsFileTest, RoundTripRestoresEveryFieldAndSampleBitForBit) {
    constexpr uint32_t kSamples = 131072;
    ASSERT_NE(MakePatternBuffer(kSamples), nullptr);
    const SettingsValues saved = SettingsValues::Distinct(247, kSamples);
    ASSERT_EQ(SaveSettings(saved, "capture.nrk"), 1);

    const Bytes file = ReadAll("capture.nrk");
    ASSERT_EQ(file.size(), 80u + 4u * kSamples);
    const Bytes header(file.begin(), file.begin() + 80);
    EXPECT_EQ(header, ExpectedHeader(saved));
    EXPECT_EQ(SampleAt(file, 0), PatternSample(0));
    EXPECT_EQ(SampleAt(file, kSamples - 1), PatternSample(kSamples - 1));

    // Open into a fresh buffer and variables that hold something else.
    ReleaseBuffer();
    ASSERT_NE(MakeBuffer(kSamples), nullptr);
    const uint64_t generation = Buffer().generation;
    SettingsValues opened = SettingsValues::Distinct(3, 7);
    EXPECT_EQ(OpenSettings(opened, "capture.nrk"), static_cast<int32_t>(kSamples));
    EXPECT_EQ(opened, saved);
    EXPECT_EQ(Buffer().actualCaptureLength, kSamples);
    EXPECT_NE(Buffer().generation, generation) << "readers of the samples must see the change";
    for (uint32_t i = 0; i < kSamples; ++i)
        ASSERT_EQ(static_cast<uint32_t>(LoggedData(i)), PatternSample(i)) << "sample " << i;
}

// A capture written by another copy of the program opens here, and saving it again gives the
// same bytes, so files pass both ways.
TEST_F(SettingsFileTest, RealCaptureOpensAndSavesBackIdentically) {
    const std::filesystem::path original =
        std::filesystem::path(TARNWICK_TEST_DATA) / "captures" / "uart_hello_9600.nrk";
    const Bytes originalBytes = ReadAll(original);
    ASSERT_EQ(originalBytes.size(), 4'194'384u) << "80 + 4 x 1,048,576";

    uint32_t count = 0;
    ASSERT_EQ(GetFileBufferSize(&count, original.c_str()), 1'048'576);
    ASSERT_EQ(count, 1'048'576u);
    ASSERT_NE(MakeBuffer(count), nullptr);
    SettingsValues values;
    ASSERT_EQ(OpenSettings(values, original.c_str()), 1'048'576);
    EXPECT_EQ(values.rateCode, 17);
    EXPECT_EQ(values.sampleCount, 1'048'576u);

    ASSERT_EQ(SaveSettings(values, "again.nrk"), 1);
    EXPECT_TRUE(ReadAll("again.nrk") == originalBytes);
}

TEST_F(SettingsFileTest, SaveWritesTheWholeBufferWhateverTheCountSays) {
    ASSERT_NE(MakePatternBuffer(65536), nullptr);
    ASSERT_EQ(SaveSettings(SettingsValues::Distinct(17, 5), "small-count.nrk"), 1);
    const Bytes file = ReadAll("small-count.nrk");
    ASSERT_EQ(file.size(), 80u + 4u * 65536);
    EXPECT_EQ(SampleAt(file, 65535), PatternSample(65535));

    ReleaseBuffer();
    ASSERT_EQ(SaveSettings(SettingsValues::Distinct(17, 5), "no-buffer.nrk"), 1);
    EXPECT_EQ(ReadAll("no-buffer.nrk").size(), 80u);
}

TEST_F(SettingsFileTest, SaveRecordsTheNameInTestit) {
    const std::string longName = std::string(150, 'n') + "/" + std::string(150, 'x') + ".nrk";
    for (const std::string& name : {std::string("capture.nrk"), longName}) {
        SaveSettings({}, name.c_str());
        const Bytes record = ReadAll("testit");
        ASSERT_EQ(record.size(), 200u) << name;
        const size_t kept = std::min<size_t>(name.size(), 200);
        EXPECT_EQ(std::string(record.begin(), record.begin() + kept), name.substr(0, kept));
        EXPECT_TRUE(
            std::all_of(record.begin() + kept, record.end(), [](uint8_t b) { return b == 0; }));
    }
}

// Exceeds the process's file size limit, so that a write fails part-way as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(SettingsFileTest, FailedSaveReportsZeroAndKeepsThePreviousFile) {
    ASSERT_NE(MakePatternBuffer(262144), nullptr);
    const Bytes previous = {'k', 'e', 'e', 'p'};
    WriteAll("kept.nrk", previous);
    std::filesystem::create_directory("folder.nrk");
    {
        const FileSizeLimit limit(100'000);
        EXPECT_EQ(SaveSettings({}, "kept.nrk"), 0) << "a write that fails part-way";
    }
    EXPECT_EQ(ReadAll("kept.nrk"), previous);
    EXPECT_EQ(SaveSettings({}, "folder.nrk"), 0) << "a folder in the way";
    EXPECT_EQ(SaveSettings({}, "missing/capture.nrk"), 0) << "a folder that does not exist";
    EXPECT_EQ(SaveSettings({}, ""), 0);
    EXPECT_EQ(FolderContents(), (std::vector<std::string>{"folder.nrk", "kept.nrk", "testit"}))
        << "no temporary file may be left behind";
}

TEST_F(SettingsFileTest, SaveOverAnExistingFileKeepsItsPermissionsAndLinks) {
    ASSERT_NE(MakePatternBuffer(65536), nullptr);
    WriteAll("target.nrk", {1, 2, 3});
    std::filesystem::permissions("target.nrk", std::filesystem::perms(0640));
    std::filesystem::create_symlink("target.nrk", "link.nrk");

    ASSERT_EQ(SaveSettings({}, "link.nrk"), 1);
    EXPECT_TRUE(std::filesystem::is_symlink("link.nrk"));
    EXPECT_EQ(ReadAll("target.nrk").size(), 80u + 4u * 65536);
    struct stat status {};
    ASSERT_EQ(stat("target.nrk", &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

// The first view of an opened file finds its summary ready.
TEST_F(SettingsFileTest, OpenLeavesTheSummaryOfTheSamplesRead) {
    constexpr uint32_t kSamples = 2 * 65536;
    ASSERT_NE(MakePatternBuffer(kSamples), nullptr);
    const SettingsValues saved = SettingsValues::Distinct(247, kSamples);
    ASSERT_EQ(SaveSettings(saved, "capture.nrk"), 1);
    ReleaseBuffer();
    ASSERT_NE(MakeBuffer(kSamples), nullptr);
    SettingsValues opened;
    ASSERT_EQ(OpenSettings(opened, "capture.nrk"), static_cast<int32_t>(kSamples));
    EXPECT_TRUE(SummaryLeftByTheWriter(kSamples));
}

TEST_F(SettingsFileTest, MissingFileChangesNothing) {
    ASSERT_NE(MakePatternBuffer(65536), nullptr);
    const uint64_t generation = Buffer().generation;
    SettingsValues values = SettingsValues::Distinct(9, 9);
    const SettingsValues before = values;
    uint32_t count = 4321;
    EXPECT_EQ(OpenSettings(values, "absent.nrk"), 0);
    EXPECT_EQ(GetFileBufferSize(&count, "absent.nrk"), 0);
    std::filesystem::create_directory("folder.nrk");
    EXPECT_EQ(OpenSettings(values, "folder.nrk"), 0);
    EXPECT_EQ(GetFileBufferSize(&count, "folder.nrk"), 0);
    EXPECT_EQ(OpenSettings(values, nullptr), 0);
    EXPECT_EQ(GetFileBufferSize(&count, nullptr), 0);
    EXPECT_EQ(values, before);
    EXPECT_EQ(count, 4321u);
    EXPECT_EQ(Buffer().generation, generation);
    EXPECT_EQ(Buffer().actualCaptureLength, 65536u);
    EXPECT_EQ(static_cast<uint32_t>(LoggedData(100)), PatternSample(100));
}

// Files cut short, counts that do not match the data, and counts beyond the buffer. Fields the
// file does not hold in full stay as they were; no sample lands outside the buffer.
TEST_F(SettingsFileTest, ShortAndMiscountedFilesReadOnlyWhatIsThereAndFits) {
    constexpr uint32_t kBuffer = 65536;
    const SettingsValues inFile = SettingsValues::Distinct(127, 0);
    struct Case {
        const char* what;
        uint32_t count;
        size_t fileBytes;  // the file is cut to this length
        size_t fieldsRead; // how many of the 53 fields (in file order) the file holds
        int32_t samplesRead;
        uint32_t actualLength;
    };
    const Case cases[] = {
        {"empty file", 0, 0, 0, 0, 0},
        {"count cut", 1000, 3, 1, 0, 0},
        {"header cut in the words", 1000, 50, 45, 0, 0},
        {"header only", 1000, 80, 53, 0, 0},
        {"fewer samples than counted", 1000, 80 + 4 * 10 + 2, 53, 10, 10},
        {"exact", 1000, 80 + 4 * 1000, 53, 1000, 1000},
        {"count zero with samples", 0, 80 + 4 * 100, 53, 0, 0},
        {"count one beyond the buffer", kBuffer + 1, 80 + 4 * (kBuffer + 1), 53, 65536, kBuffer},
        {"count near 2^31", 0x80000000u, 80 + 4 * (kBuffer + 8), 53, 65536, kBuffer},
        {"count 2^32 - 1", 0xFFFFFFFFu, 80 + 4 * (kBuffer + 8), 53, 65536, kBuffer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsValues written = inFile;
        written.sampleCount = c.count;
        Bytes file = ExpectedHeader(written);
        for (uint32_t i = 0; file.size() < c.fileBytes; ++i)
            AppendLittleEndian32(file, PatternSample(i));
        file.resize(c.fileBytes);
        WriteAll("case.nrk", file);

        ASSERT_NE(MakeBuffer(kBuffer), nullptr);
        SettingsValues opened = SettingsValues::Distinct(1, 2);
        const SettingsValues before = opened;
        EXPECT_EQ(OpenSettings(opened, "case.nrk"), c.samplesRead);
        EXPECT_EQ(Buffer().actualCaptureLength, c.actualLength);
        EXPECT_EQ(Buffer().bufferLength, kBuffer);

        // Field k in file order: rate code, count, byte fields 2 to 44, word fields 1 to 8.
        auto field = [](const SettingsValues& v, size_t k) -> uint64_t {
            if (k == 0)
                return v.rateCode;
            if (k == 1)
                return v.sampleCount;
            return k < 45 ? v.bytes[k - 2] : v.words[k - 45];
        };
        for (size_t k = 0; k < 53; ++k)
            EXPECT_EQ(field(opened, k), field(k < c.fieldsRead ? written : before, k)) << k;
        for (int32_t i = 0; i < c.samplesRead; ++i)
            ASSERT_EQ(static_cast<uint32_t>(LoggedData(i)), PatternSample(i)) << i;
        if (c.samplesRead + 1 < static_cast<int32_t>(kBuffer)) {
            EXPECT_EQ(LoggedData(c.samplesRead + 1), 255) << "past the data the buffer stays";
        }
        ReleaseBuffer();
    }
}

TEST_F(SettingsFileTest, OpenWithoutABufferReadsOnlyTheFields) {
    const SettingsValues saved = SettingsValues::Distinct(47, 65536);
    WriteAll("fields.nrk", ExpectedHeader(saved));
    SettingsValues opened;
    EXPECT_EQ(OpenSettings(opened, "fields.nrk"), 0);
    EXPECT_EQ(opened, saved);
    EXPECT_EQ(Buffer().actualCaptureLength, 0u);
}

TEST_F(SettingsFileTest, BufferSizeComesFromTheCountField) {
    struct Case {
        const char* what;
        Bytes file;
        int32_t result;
        uint32_t output;
    };
    const Case cases[] = {
        {"one byte: the output is left alone", {17}, 777, 777},
        {"four bytes: the count is cut", {17, 1, 2, 3}, 777, 777},
        {"five bytes", {17, 0x00, 0x00, 0x10, 0x00}, 1'048'576, 1'048'576},
        {"count 2^32 - 1", {17, 0xFF, 0xFF, 0xFF, 0xFF, 0}, -1, 0xFFFFFFFFu},
        {"empty", {}, 777, 777},
    };
    for (const Case& c : cases) {
        WriteAll("size.nrk", c.file);
        uint32_t output = 777;
        EXPECT_EQ(GetFileBufferSize(&output, "size.nrk"), c.result) << c.what;
        EXPECT_EQ(output, c.output) << c.what;
    }
}

} // namespace
} // namespace podcore::files::testing
