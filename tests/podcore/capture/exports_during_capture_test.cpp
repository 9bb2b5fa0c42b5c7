// Exports that would pull the buffer, the pod or its endpoints from under the streaming threads,
// called while a capture streams: each refuses with its failure result and one line on standard
// error, and the capture goes on and ends with every sample in place.
#include "files/settings_values.h"
#include "stream_fixture.h"
#include "usb/firmware/firmware_image.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>

namespace capture_test {
namespace {

using namespace std::chrono;
using podcore::files::testing::SettingsValues;

struct RefusedCall {
    const char* name;
    std::function<int64_t()> call;
    int64_t refused;
};

class ExportsDuringCaptureTest : public StreamFixture {
protected:
    std::string SavedSettingsFile() {
        const std::string path = testing::TempDir() + "exports_during_capture.set";
        EXPECT_EQ(podcore::files::testing::SaveSettings(SettingsValues::Distinct(3, Length()),
                                                        path.c_str()),
                  1);
        return path;
    }

    static uint8_t PollRunning(int32_t& status) {
        uint8_t breaks = 0, running = 0, triggered = 0, full = 0;
        int32_t startP = 0, endP = 0, trigger = 0;
        status = CaptureStatus(&breaks, &running, &triggered, &startP, &endP, &trigger, &full);
        return running;
    }
};

TEST_F(ExportsDuringCaptureTest, DisturbingExportsRefuseAndTheCaptureEndsIntact) {
    OpenPod(4);
    const std::string settings = SavedSettingsFile();
    uint32_t* const samples = podcore::buffer::Buffer().samples;
    SettingsValues opened{};
    uint32_t podIds[16] = {};
    uint8_t bytes[64] = {};

    const std::vector<RefusedCall> calls = {
        {"DeleteBuffer", [&] { return DeleteBuffer(samples); }, 0},
        {"MakeBuffer", [] { return MakeBuffer(4 * kSamplesPerBlock) == nullptr ? 0 : 1; }, 0},
        {"DemoData", [] { return DemoData(); }, 0},
        {"OpenFileDataAndConfig",
         [&] { return podcore::files::testing::OpenSettings(opened, settings.c_str()); }, 0},
        {"OpenFileData",
         [&] {
             char text[8][64] = {};
             return OpenFileData(text[0], text[1], text[2], text[3], text[4], text[5], text[6],
                                 text[7], bytes, settings.c_str());
         },
         0},
        {"StartCapture", [&] { return StartCapture(27, 2, nullptr, 0, nullptr, Length(), 0); }, 0},
        {"SpeedTest", [] { return SpeedTest(); }, 0},
        {"TestIt", [] { return TestIt(27); }, 0},
        {"EnumeratePods", [&] { return EnumeratePods(podIds); }, 0},
        {"NewEnumeratePods", [&] { return NewEnumeratePods(podIds); }, 0},
        {"OpenPod", [] { return ::OpenPod(7); }, 0},
        {"ClosePod", [] { return ClosePod(); }, 0},
        {"InitializeKTLAPod", [] { return InitializeKTLAPod(7); }, 0},
        {"InitializeKTPod", [] { return InitializeKTPod(7); }, 255},
        {"Reset8051", [] { return Reset8051(1); }, 4},
        {"DownloadImage", [] { return DownloadImage(podcore::usb::firmware::EmbeddedImage()); }, 0},
        {"DownloadFile", [&] { return DownloadFile(settings.c_str()); }, 0},
        {"DownloadFirmware", [&] { return DownloadFirmware(settings.c_str()); }, 0},
        {"BulkIn", [&] { return BulkIn(0x88, sizeof bytes, bytes); }, 0},
        {"BulkOut", [&] { return BulkOut(0x01, 2, bytes); }, 0},
        {"ControlIn", [&] { return ControlIn(0xA0, 0, 0xE600, 1, bytes); }, 0},
        {"ControlOut", [&] { return ControlOut(0xA0, 0, 0xE600, 1, bytes); }, 0},
    };

    const uint32_t never = 0x1000000;
    const uint32_t steps[] = {never, never};
    ASSERT_EQ(StartCapture(27, 2, steps, 1, nullptr, Length(), kSamplesPerBlock), 1);
    std::this_thread::sleep_for(milliseconds(100));
    for (const RefusedCall& entry : calls) {
        SCOPED_TRACE(entry.name);
        testing::internal::CaptureStderr();
        EXPECT_EQ(entry.call(), entry.refused);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_THAT(said, testing::HasSubstr(std::string(entry.name) + " refused"));
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        int32_t status = -1;
        EXPECT_EQ(PollRunning(status), 1);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(opened, SettingsValues{}) << "a refused open fills in nothing";

    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_EQ(StopCapture(), 1);
    EXPECT_EQ(podcore::buffer::Buffer().samples, samples);
    ASSERT_EQ(Length(), 4 * kSamplesPerBlock);
    // The last block is the one being written when the stop came.
    const std::vector<uint32_t> logged = Samples();
    EXPECT_GE(FirstBreakInCount(logged), logged.size() - kSamplesPerBlock);

    // Once StopCapture has returned, the pod and the buffer are the caller's again.
    testing::internal::CaptureStderr();
    EXPECT_EQ(DemoData(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const CaptureOutcome again = Run(27, {}, 0, kSamplesPerBlock);
    EXPECT_EQ(again.started, 1);
    EXPECT_FALSE(again.broke);
}

} // namespace
} // namespace capture_test
