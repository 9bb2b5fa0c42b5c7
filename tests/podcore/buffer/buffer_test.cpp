#include "buffer/sample_buffer.h"
#include "exports/podcore.h"
#include "library_buffer_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using BufferTest = LibraryBufferFixture;

TEST_F(BufferTest, NoBufferReadsZeroAndDeleteOfNullFreesNothing) {
    EXPECT_EQ(LoggedData(0), 0);
    EXPECT_EQ(LoggedData(0xFFFFFFFFu), 0);
    EXPECT_EQ(DeleteBuffer(nullptr), 0);

    uint32_t* samples = MakeBuffer(65536);
    ASSERT_NE(samples, nullptr);
    EXPECT_EQ(DeleteBuffer(nullptr), 0);
    EXPECT_EQ(LoggedData(5), 255) << "a null delete must leave the buffer alone";
    EXPECT_EQ(DeleteBuffer(samples), 1);
    EXPECT_EQ(LoggedData(5), 0);
    EXPECT_EQ(podcore::buffer::Buffer().bufferLength, 0u);
}

TEST_F(BufferTest, FreshBufferShowsLowByteHigh) {
    uint32_t* samples = MakeBuffer(65536);
    ASSERT_NE(samples, nullptr);
    for (uint32_t i = 0; i < 65536; ++i)
        ASSERT_EQ(LoggedData(i), 255) << "index " << i;
    EXPECT_EQ(podcore::buffer::Buffer().actualCaptureLength, 65536u);
}

TEST_F(BufferTest, RefusedSizeKeepsThePreviousBuffer) {
    uint32_t* samples = MakeBuffer(131072);
    ASSERT_NE(samples, nullptr);
    DemoData();
    for (uint32_t refused : {100000u, 65535u, 65537u, 0x80000001u, (1u << 30) + 65536,
                             0xFFFF0000u /* -65536 */}) {
        EXPECT_EQ(MakeBuffer(refused), nullptr) << refused;
        EXPECT_EQ(podcore::buffer::Buffer().samples, samples);
        EXPECT_EQ(podcore::buffer::Buffer().bufferLength, 131072u);
        EXPECT_EQ(static_cast<uint32_t>(LoggedData(7)), 0xCCCCCCCCu + 7);
    }
}

TEST_F(BufferTest, ReadsPastTheEndReturnTheLastSample) {
    ASSERT_NE(MakeBuffer(65536), nullptr);
    DemoData();
    const auto last = static_cast<uint32_t>(LoggedData(65535));
    EXPECT_EQ(last, 0xCCCDCCCBu);
    for (uint32_t index : {65536u, 65537u, 1u << 31, 0xFFFFFFFFu})
        EXPECT_EQ(static_cast<uint32_t>(LoggedData(index)), last) << index;
}

TEST_F(BufferTest, DemoPatternCountsFromCC) {
    ASSERT_NE(MakeBuffer(65536), nullptr);
    EXPECT_EQ(DemoData(), 1);
    struct Case {
        uint32_t index;
        uint32_t sample;
        int lowByte;
    };
    for (const Case& c : {Case{0, 0xCCCCCCCC, 204}, Case{1, 0xCCCCCCCD, 205},
                          Case{65535, 0xCCCDCCCB, 203}}) {
        EXPECT_EQ(static_cast<uint32_t>(LoggedData(c.index)), c.sample);
        EXPECT_EQ(LoggedData(c.index) & 0xFF, c.lowByte);
    }
}

TEST_F(BufferTest, DemoDataWithoutABufferIsHarmless) {
    EXPECT_EQ(DemoData(), 1);
    EXPECT_EQ(LoggedData(0), 0);
}

TEST(MaxBufferSize, AdviceFromFreeMemory) {
    struct Case {
        uint64_t freeBytes;
        uint32_t samples;
    };
    const Case cases[] = {
        {0, 1'490'944},                        // below the floor: the floor's figure
        {38'000'000, 1'490'944},
        {100'000'000, 16'990'208},             // 68,000,000 cut to 67,960,832 bytes
        {38'262'147, 1'556'480},               // the low 16 bits of the byte count cleared
        {3'000'000'000ull, 741'998'592},       // below the cap: the plain arithmetic
        {4'326'967'296ull, 1'073'741'824},     // would exceed 2^32 bytes: the cap
        {64ull << 30, 1u << 30},               // many gigabytes free: still the cap
        {~0ull, 1u << 30},
    };
    for (const Case& c : cases) {
        const uint32_t advice = podcore::buffer::AdvisedSamples(c.freeBytes);
        EXPECT_EQ(advice, c.samples) << c.freeBytes;
        EXPECT_LE(advice, podcore::buffer::kMaxAdvisedSamples);
        EXPECT_LE(int64_t{advice} * 2 - 1, int64_t{INT32_MAX}) << "view arithmetic must not overflow";
    }
    EXPECT_GE(GetMaxBufferSize(), 1'490'944u);
}

class CopyTest : public BufferTest {
protected:
    // "copy" is written in the working directory; parallel test processes each get their own.
    void SetUp() override {
        BufferTest::SetUp();
        previous_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() /
                  ("copy_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
        BufferTest::TearDown();
    }

    static std::vector<unsigned char> ReadCopyFile() {
        std::ifstream in("copy", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static int32_t HeaderWord(const std::vector<unsigned char>& bytes, int word) {
        int32_t value;
        std::memcpy(&value, bytes.data() + 4 * word, 4);
        return value;
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

TEST_F(CopyTest, WritesClampedOrderedHeaderAndByteCount) {
    ASSERT_NE(MakeBuffer(65536), nullptr);
    DemoData();
    struct Case {
        int32_t first, last;
        int32_t a, b;
    };
    const Case cases[] = {
        {10, 5, 5, 10},         // swapped
        {0, 0, 0, 0},
        {-7, 3, 0, 3},          // negative becomes 0
        {70000, -1, 0, 65535},  // past the end becomes the last sample, then swapped
        {65530, 99999, 65530, 65535},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Copy(c.first, c.last), 1);
        const auto bytes = ReadCopyFile();
        ASSERT_EQ(bytes.size(), 8u + static_cast<size_t>(c.b - c.a + 1)) << c.first << "," << c.last;
        EXPECT_EQ(HeaderWord(bytes, 0), c.a);
        EXPECT_EQ(HeaderWord(bytes, 1), c.b);
        // The bytes are buffer memory from sample a on.
        const uint32_t sampleA = 0xCCCCCCCCu + static_cast<uint32_t>(c.a);
        EXPECT_EQ(bytes[8], sampleA & 0xFF);
    }
}

TEST_F(CopyTest, WithoutABufferWritesOnlyTheHeader) {
    ASSERT_EQ(Copy(3, 9), 1);
    const auto bytes = ReadCopyFile();
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(HeaderWord(bytes, 0), 0);
    EXPECT_EQ(HeaderWord(bytes, 1), 0);
}

TEST_F(CopyTest, UnwritableFileGivesZero) {
    ASSERT_NE(MakeBuffer(65536), nullptr);
    std::filesystem::remove("copy");
    std::filesystem::create_directory("copy");
    EXPECT_EQ(Copy(0, 10), 0);
    std::filesystem::remove("copy");
}

} // namespace
