// The scan's lines from what the library and the system report, and the system's pods read
// from device records laid out as the kernel lays them out.
#include "cli/attached_pods.h"
#include "cli/scan_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace norrik::cli {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::HasSubstr;

TEST(ScanLines, LibraryAndSystemTogether) {
    const AttachedPod busy{7, true, true, "/dev/bus/usb/001/004"};
    const AttachedPod refused{8, false, false, "/dev/bus/usb/002/009"};
    const AttachedPod opened{9, false, true, "/dev/bus/usb/001/005"};
    EXPECT_THAT(ScanLines({}, {}), ElementsAre("no pods"));
    EXPECT_THAT(ScanLines({{5, 9}, 2}, {}), ElementsAre("5 high-speed ready", "9 high-speed ready"));
    // The library stopped at its first full-speed pod.
    EXPECT_THAT(ScanLines({{5, 9}, 0}, {}), ElementsAre("5 full-speed ready", "9 full-speed ready"));
    EXPECT_THAT(ScanLines({{5, 9}, 1}, {}), ElementsAre("5 high-speed ready", "9 full-speed ready"));
    // The system's record tells the speed of a pod the library opened, and is not listed twice.
    EXPECT_THAT(ScanLines({{5, 9}, 2}, {opened}),
                ElementsAre("5 high-speed ready", "9 full-speed ready"));
    const auto lines = ScanLines({{5}, 1}, {busy, refused});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "5 high-speed ready");
    EXPECT_EQ(lines[1], "7 high-speed in use");
    EXPECT_THAT(lines[2], testing::StartsWith("8 full-speed no access to /dev/bus/usb/002/009"));
    EXPECT_THAT(lines[2], HasSubstr("60-tarnwick-pod.rules"));
}

class DeviceRecords : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(testing::TempDir()) / ("usb_records_" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "devices");
        fs::create_directories(root_ / "nodes");
    }
    void TearDown() override { fs::remove_all(root_); }

    void Record(const std::string& name, const std::map<std::string, std::string>& fields) {
        const fs::path record = root_ / "devices" / name;
        fs::create_directories(record);
        for (const auto& [field, text] : fields)
            std::ofstream(record / field) << text;
    }
    void Node(const std::string& bus, const std::string& device) {
        fs::create_directories(root_ / "nodes" / bus);
        std::ofstream(root_ / "nodes" / bus / device);
    }
    std::vector<AttachedPod> Pods() const {
        return AttachedPods((root_ / "devices").string(), (root_ / "nodes").string());
    }
    std::string NodePath(const std::string& rest) const { return (root_ / "nodes").string() + rest; }

    static std::map<std::string, std::string> Pod(const std::string& release,
                                                  const std::string& speed,
                                                  const std::string& device) {
        return {{"idVendor", "1209\n"}, {"idProduct", "0001\n"}, {"bcdDevice", release + "\n"},
                {"speed", speed + "\n"},  {"busnum", "1\n"},      {"devnum", device + "\n"}};
    }

    fs::path root_;
};

TEST_F(DeviceRecords, PodsInRecordOrderWithSpeedAndAccess) {
    Record("1-2", Pod("0009", "12", "7"));
    Record("1-1", Pod("0005", "480", "4"));
    Record("1-1:1.0", {{"bInterfaceNumber", "00\n"}}); // an interface, no device
    auto other = Pod("0003", "480", "8");
    other["idProduct"] = "6001\n";
    Record("1-3", other);
    Node("001", "004");
    const auto pods = Pods();
    ASSERT_EQ(pods.size(), 2u);
    EXPECT_EQ(pods[0].id, 5u);
    EXPECT_TRUE(pods[0].highSpeed);
    EXPECT_TRUE(pods[0].accessible);
    EXPECT_EQ(pods[0].node, NodePath("/001/004"));
    EXPECT_EQ(pods[1].id, 9u);
    EXPECT_FALSE(pods[1].highSpeed);
    EXPECT_FALSE(pods[1].accessible); // no node to open
}

TEST_F(DeviceRecords, BrokenRecordsAreNoPods) {
    const struct {
        const char* field;
        const char* text;
    } breaks[] = {{"bcdDevice", "zz\n"}, {"bcdDevice", ""},      {"busnum", "1000\n"},
                  {"devnum", "-1\n"},    {"speed", "fast\n"},   {"idVendor", "12090\n"},
                  {"devnum", "4 5\n"}};
    int n = 0;
    for (const auto& broken : breaks) {
        auto fields = Pod("0005", "480", "4");
        fields[broken.field] = broken.text;
        Record("1-" + std::to_string(++n), fields);
    }
    auto missing = Pod("0005", "480", "4");
    missing.erase("speed");
    Record("2-1", missing);
    EXPECT_TRUE(Pods().empty());
    EXPECT_TRUE(AttachedPods((root_ / "absent").string(), "/dev/bus/usb").empty());
}

} // namespace
} // namespace norrik::cli
