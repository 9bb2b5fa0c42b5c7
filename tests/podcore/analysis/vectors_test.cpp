#include "exports/podcore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct VectorCase {
    const char* name;
    std::vector<uint8_t> levels;
    std::vector<uint32_t> expected; // including the terminating 0
};

TEST(CreateVectors, RunsEndAtTheFirstColumnOfTheNextLevel) {
    const std::vector<uint8_t> eightHundredChanging(800, 2);
    const VectorCase cases[] = {
        {"two highs then a low", {1, 1, 0}, {4099, 0, 0}},
        {"800 equal levels", eightHundredChanging, {2 * 4096 + 800, 0}},
        {"single column", {1}, {4097, 0}},
        {"alternating", {0, 1, 0, 1}, {0 * 4096 + 2, 1 * 4096 + 1, 0 * 4096 + 1, 4096, 0}},
        {"changing between steady runs", {0, 0, 2, 2, 2, 1}, {3, 2 * 4096 + 3, 4096, 0}},
    };
    for (const VectorCase& c : cases) {
        // A guard word after the expected list shows that nothing more is written.
        std::vector<uint32_t> vectors(c.expected.size() + 1, 0xDEADBEEF);
        CreateVectors(c.levels.data(), vectors.data(), static_cast<uint32_t>(c.levels.size()));
        const std::vector<uint32_t> written(vectors.begin(), vectors.end() - 1);
        EXPECT_EQ(written, c.expected) << c.name;
        EXPECT_EQ(vectors.back(), 0xDEADBEEF) << c.name;

        uint32_t columns = 0;
        for (size_t i = 0; i + 1 < c.expected.size(); ++i)
            columns += c.expected[i] % 4096;
        EXPECT_EQ(columns, c.levels.size()) << c.name << ": runs add up to the count";
    }
}

TEST(CreateVectors, NoColumnsGiveAnEmptyListWithoutReadingLevels) {
    uint32_t vectors[2] = {0xDEADBEEF, 0xDEADBEEF};
    CreateVectors(nullptr, vectors, 0);
    EXPECT_EQ(vectors[0], 0u);
    EXPECT_EQ(vectors[1], 0xDEADBEEF);

    const uint8_t levels[1] = {1};
    vectors[0] = 0xDEADBEEF;
    CreateVectors(levels, vectors, 0);
    EXPECT_EQ(vectors[0], 0u);
    EXPECT_EQ(vectors[1], 0xDEADBEEF);

    CreateVectors(levels, nullptr, 1); // nowhere to write: nothing happens
}

} // namespace
