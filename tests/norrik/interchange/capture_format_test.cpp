// A file's format is told by its content, whatever its name says.
#include "interchange_files.h"

#include "interchange/capture_format.h"

#include <gtest/gtest.h>

namespace norrik::interchange {
namespace {

TEST(CaptureFormat, TheContentDecides) {
    struct Case {
        const char* name;
        std::string contents;
        CaptureFormat format;
    };
    std::string capture(84, '\0');
    capture[0] = char(27);
    capture[3] = char(16);
    const Case cases[] = {
        {"a zip named .csv", std::string("PK\3\4rest", 8), CaptureFormat::Sr},
        {"an empty zip", std::string("PK\5\6", 4) + std::string(18, '\0'), CaptureFormat::Sr},
        {"a dump named .nrk", "\n  $date x $end\n", CaptureFormat::Vcd},
        {"a dump after a byte-order mark", "\xEF\xBB\xBF$timescale 1 ns $end", CaptureFormat::Vcd},
        {"a table named .vcd", "Time [s],P0\n0,1\n", CaptureFormat::Csv},
        {"a capture file named .sr", capture, CaptureFormat::Nrk},
        {"text after a binary byte", "Time\1,P0\n", CaptureFormat::Nrk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureFormat format = CaptureFormat::Csv;
        std::string error;
        ASSERT_TRUE(FormatOfContent(testing::WriteText("named.wrong", c.contents), format, error))
            << error;
        EXPECT_EQ(format, c.format);
    }
}

TEST(CaptureFormat, AnEmptyOrMissingFileHasNone) {
    CaptureFormat format = CaptureFormat::Nrk;
    std::string error;
    EXPECT_FALSE(FormatOfContent(testing::WriteText("empty.nrk", ""), format, error));
    EXPECT_EQ(error, "the file is empty");
    EXPECT_FALSE(FormatOfContent(testing::TestPath("missing.nrk"), format, error));
    EXPECT_EQ(error, "cannot open the file: No such file or directory");
}

TEST(CaptureFormat, NamesAndExtensions) {
    EXPECT_EQ(FormatOfExtension("/a.b/capture.VCD"), CaptureFormat::Vcd);
    EXPECT_EQ(FormatOfExtension("x.sr"), CaptureFormat::Sr);
    EXPECT_EQ(FormatOfExtension("/folder.csv/capture"), std::nullopt);
    EXPECT_EQ(FormatOfExtension("capture.txt"), std::nullopt);
    EXPECT_EQ(FormatOfName("NRK"), CaptureFormat::Nrk);
    EXPECT_EQ(FormatOfName("zip"), std::nullopt);
}

} // namespace
} // namespace norrik::interchange
