// The change search against a sample-by-sample look, over lengths around its 64-sample blocks
// and changes at their edges, in lines looked at and in others.
#include "interchange/sample_changes.h"

#include <gtest/gtest.h>

#include <vector>

namespace norrik::interchange {
namespace {

constexpr uint32_t kLooked = 0x1BFFFF;
constexpr uint32_t kIgnored = 1u << 18;

std::vector<size_t> Found(const std::vector<uint32_t>& samples) {
    SampleChanges changes(samples.data(), samples.size(), kLooked);
    std::vector<size_t> found;
    for (size_t i = changes.Next(); i < samples.size(); i = changes.Next())
        found.push_back(i);
    // Once all are given, the count keeps coming back.
    EXPECT_EQ(changes.Next(), samples.size());
    return found;
}

std::vector<size_t> LookedOneByOne(const std::vector<uint32_t>& samples) {
    std::vector<size_t> found;
    for (size_t i = 1; i < samples.size(); ++i)
        if (((samples[i] ^ samples[i - 1]) & kLooked) != 0)
            found.push_back(i);
    return found;
}

// Samples that change in the lines looked at where `at` says, and in the ignored bit elsewhere.
std::vector<uint32_t> ChangingAt(size_t count, const std::vector<size_t>& at) {
    std::vector<uint32_t> samples(count, 0);
    uint32_t word = 0x5;
    for (size_t i = 0; i < count; ++i) {
        word ^= kIgnored;
        for (const size_t change : at)
            if (change == i)
                word ^= 1u << (i % 21 == 18 ? 19 : i % 21);
        samples[i] = word;
    }
    return samples;
}

TEST(SampleChanges, FindsTheChangesAroundBlockEdges) {
    const std::vector<size_t> edges = {1, 2, 31, 32, 33, 63, 64, 65, 66, 127, 128, 129, 130};
    for (const size_t count : {0, 1, 2, 3, 64, 65, 66, 67, 129, 130, 131, 200}) {
        for (const std::vector<size_t>& at : {std::vector<size_t>{}, edges, {count - 1}}) {
            const std::vector<uint32_t> samples = ChangingAt(count, at);
            EXPECT_EQ(Found(samples), LookedOneByOne(samples)) << count << " samples";
        }
    }
}

TEST(SampleChanges, FindsAChangeAtEverySample) {
    std::vector<uint32_t> samples(300);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (uint32_t(i * 2654435761u) & ~(1u << 20)) | (i % 2 == 0 ? 1u << 20 : 0);
    const std::vector<size_t> found = Found(samples);
    ASSERT_EQ(found.size(), samples.size() - 1);
    EXPECT_EQ(found, LookedOneByOne(samples));
}

} // namespace
} // namespace norrik::interchange
