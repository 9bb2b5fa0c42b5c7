#include "decoders_ui/shown_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using norrik::ShownOutput;

struct Case {
    const char* name;
    size_t limit;
    std::vector<std::string> additions;
    std::string box;       // what Text1 ends up holding
    uint64_t linesLeftOut; // what the note counts
};

TEST(ShownOutput, KeepsWholeLinesUpToTheLimitAndCountsTheRest) {
    const Case cases[] = {
        {"all fits", 12, {"ab\r\n", "cd\r\n", "ef\r\n"}, "ab\r\ncd\r\nef\r\n", 0},
        {"cut at the last line end that fits", 10, {"ab\r\ncd\r\nef\r\n"}, "ab\r\ncd\r\n", 1},
        {"later additions only counted", 5, {"ab\r\n", "cd\r\n", "ef\r\ngh\r\n"}, "ab\r\n", 3},
        {"a line without its end counts", 4, {"ab\r\n", "cd\r\nef"}, "ab\r\n", 2},
        {"no line end fits", 3, {"abcdef\r\n", "gh\r\n"}, "", 2},
        {"a line completed after the cut", 4, {"ab\r\n", "c", "d\r\n"}, "ab\r\n", 1},
        {"empty additions", 4, {"", "ab\r\n", "", "cd\r\n", ""}, "ab\r\n", 1},
    };
    for (const Case& c : cases) {
        ShownOutput shown(c.limit);
        std::string box;
        for (const std::string& addition : c.additions)
            box += shown.Add(addition);
        EXPECT_EQ(box, c.box) << c.name;
        EXPECT_LE(box.size(), c.limit) << c.name;
        EXPECT_EQ(shown.LinesLeftOut(), c.linesLeftOut) << c.name;
    }
}

TEST(ShownOutput, NoteSaysHowManyLinesFollowAndWhere) {
    ShownOutput shown(4);
    shown.Add("ab\r\n");
    EXPECT_EQ(shown.Note("/tmp/temp.fil", true), "");
    shown.Add("cd\r\nef\r\n");
    EXPECT_EQ(shown.Note("/tmp/temp.fil", true),
              "... 2 more lines follow, not shown here; /tmp/temp.fil holds the whole output.\r\n");
    EXPECT_EQ(
        shown.Note("/tmp/temp.fil", false),
        "... 2 more lines were decoded but not kept: /tmp/temp.fil could not be written.\r\n");
}

TEST(ShownOutput, ClearStartsAnEmptyBoxWithTheSameLimit) {
    ShownOutput shown(4);
    shown.Add("ab\r\ncd\r\n");
    shown.Clear();
    EXPECT_EQ(shown.LinesLeftOut(), 0u);
    EXPECT_EQ(shown.Add("cd\r\n"), "cd\r\n");
    EXPECT_EQ(shown.Add("e"), "");
}

} // namespace
