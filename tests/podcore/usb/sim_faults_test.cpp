// The virtual pods' faults chosen for a run through PODCORE_SIM_FAULTS: how the list is read,
// and what each word does, seen only through the exports of a library that picked its back end
// from the environment.
#include "exports/podcore.h"
#include "usb/driver.h"
#include "usb/pod_state.h"
#include "usb/sim/run_faults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace podtest {
namespace {

using namespace std::chrono;
using podcore::usb::sim::ParseRunFaults;
using podcore::usb::sim::RunFaults;

// What the list reader wrote on its error stream.
std::string ReportOf(const char* list, RunFaults& faults) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* errors = open_memstream(&text, &size);
    faults = ParseRunFaults(list, errors);
    std::fclose(errors);
    std::string report(text, size);
    std::free(text);
    return report;
}

TEST(RunFaultListTest, EachWordSetsItsFaultAndAnythingElseIsReportedAndIgnored) {
    struct Case {
        const char* list;
        bool silent, noFirmware, fullSpeed;
        std::optional<double> breakAfter, unplugAfter;
        std::vector<std::string> reported;
    };
    const Case cases[] = {
        {"", false, false, false, {}, {}, {}},
        {"silent", true, false, false, {}, {}, {}},
        {"no-firmware,full-speed", false, true, true, {}, {}, {}},
        {" break-after=0.5 , unplug-after=3", false, false, false, 0.5, 3.0, {}},
        {"break-after=0,,", false, false, false, 0.0, {}, {}},
        {"Silent,silent=1,fullspeed",
         false,
         false,
         false,
         {},
         {},
         {"Silent", "silent=1", "fullspeed"}},
        {"break-after=,break-after=x,break-after=-1,unplug-after=2s,break-after",
         false,
         false,
         false,
         {},
         {},
         {"break-after=", "break-after=x", "break-after=-1", "unplug-after=2s", "break-after"}},
        {"unplug-after=nan,unplug-after=inf,break-after=1e400",
         false,
         false,
         false,
         {},
         {},
         {"unplug-after=nan", "unplug-after=inf", "break-after=1e400"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        RunFaults faults;
        const std::string report = ReportOf(c.list, faults);
        EXPECT_EQ(faults.device.silentStreams, c.silent);
        EXPECT_EQ(faults.device.failFirmwareLoad, c.noFirmware);
        EXPECT_EQ(faults.fullSpeed, c.fullSpeed);
        EXPECT_EQ(faults.device.breakAfterSeconds, c.breakAfter);
        EXPECT_EQ(faults.device.unplugAfterSeconds, c.unplugAfter);
        std::string expected;
        for (const std::string& word : c.reported)
            expected += "PODCORE_SIM_FAULTS: ignoring \"" + word +
                        "\" (known: silent, break-after=SECONDS, unplug-after=SECONDS, "
                        "no-firmware, full-speed)\n";
        EXPECT_EQ(report, expected);
    }
}

// The slowest rate: a sanitized build keeps up with it in real time.
constexpr uint32_t kRate = 17;
constexpr uint32_t kBlock = 65536;

struct Poll {
    int32_t status = 0;
    uint8_t running = 0;
    uint8_t triggered = 0;
    steady_clock::duration at{}; // since the capture was started
};

// Each case loads the library's back end afresh from the environment, as a program does.
class SimFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        stateHome = std::filesystem::temp_directory_path() /
                    ("podcore-faults-" + std::to_string(::getpid()));
        std::filesystem::create_directories(stateHome);
        ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        ::setenv("PODCORE_DRIVER", "sim", 1);
        ::unsetenv("PODCORE_SIM_PODS");
    }

    void TearDown() override {
        StopCapture();
        if (samples != nullptr)
            DeleteBuffer(samples);
        podcore::usb::ResetPods();
        podcore::usb::InstallDriver(nullptr);
        ::unsetenv("PODCORE_SIM_FAULTS");
        ::unsetenv("PODCORE_DRIVER");
        std::filesystem::remove_all(stateHome);
    }

    // Loads the back end with these faults and opens its pod; the error stream's text is kept.
    void OpenPodWith(const char* faults) {
        ::setenv("PODCORE_SIM_FAULTS", faults, 1);
        podcore::usb::ResetPods();
        podcore::usb::InstallDriver(nullptr);
        testing::internal::CaptureStderr();
        const int32_t opened = InitializeKTLAPod(1);
        errors = testing::internal::GetCapturedStderr();
        ASSERT_EQ(opened, 1);
        samples = MakeBuffer(2 * kBlock);
        ASSERT_NE(samples, nullptr);
    }

    // A step count of 0 triggers on the first block, and the capture then ends by itself; the
    // other trigger needs byte 3, which is never set, so that capture runs until stopped.
    int32_t Start(bool untilStopped) {
        const uint32_t never[] = {0x1000000, 0x1000000};
        started = steady_clock::now();
        return StartCapture(kRate, 2, never, untilStopped ? 1 : 0, samples, 2 * kBlock, kBlock);
    }

    Poll Status() {
        Poll poll;
        uint8_t breaks = 0, full = 0;
        int32_t startP = 0, endP = 0, trigger = 0;
        poll.status =
            CaptureStatus(&breaks, &poll.running, &poll.triggered, &startP, &endP, &trigger, &full);
        poll.at = steady_clock::now() - started;
        return poll;
    }

    // Polls as the application does until the status byte turns nonzero or `limit` passed;
    // every poll before that must have seen the capture running and no trouble.
    Poll PollUntilNonzero(steady_clock::duration limit) {
        for (;;) {
            const Poll poll = Status();
            if (poll.status != 0 || poll.at > limit)
                return poll;
            EXPECT_EQ(poll.running, 1);
            std::this_thread::sleep_for(milliseconds(10));
        }
    }

    std::filesystem::path stateHome;
    uint32_t* samples = nullptr;
    std::string errors;
    steady_clock::time_point started;
};

TEST_F(SimFaultsTest, WordsItDoesNotKnowAreReportedAndTheOthersStillAct) {
    OpenPodWith("bogus,full-speed");
    EXPECT_THAT(errors, testing::HasSubstr("PODCORE_SIM_FAULTS: ignoring \"bogus\""));
    uint32_t ids[4] = {};
    EXPECT_EQ(NewEnumeratePods(ids), -1) << "full-speed still acts";
}

TEST_F(SimFaultsTest, FullSpeedShowsInTheEnumerationThatChecksTheSpeed) {
    OpenPodWith("full-speed");
    EXPECT_EQ(errors, "");
    uint32_t ids[4] = {};
    EXPECT_EQ(EnumeratePods(ids), 1);
    EXPECT_EQ(NewEnumeratePods(ids), -1);
}

TEST_F(SimFaultsTest, NoFirmwareRefusesTheStart) {
    OpenPodWith("no-firmware");
    EXPECT_EQ(Start(false), 0);
}

TEST_F(SimFaultsTest, WithoutFaultsTheFirstBlockArrivesAndTriggers) {
    OpenPodWith("");
    ASSERT_EQ(Start(false), 1);
    Poll poll;
    do {
        std::this_thread::sleep_for(milliseconds(10));
        poll = Status();
    } while (poll.triggered == 0 && poll.at < seconds(5));
    EXPECT_EQ(poll.triggered, 1);
    EXPECT_EQ(poll.status, 0);
}

TEST_F(SimFaultsTest, SilentStreamsDeliverNoSampleAndReportNoLoss) {
    OpenPodWith("silent");
    ASSERT_EQ(Start(false), 1);
    // One block takes 65 ms at this rate; with a step count of 0 it would trigger.
    std::this_thread::sleep_for(milliseconds(800));
    const Poll poll = Status();
    EXPECT_EQ(poll.status, 0) << "the pod itself sees nothing wrong";
    EXPECT_EQ(poll.running, 1);
    EXPECT_EQ(poll.triggered, 0) << "no block arrived";
}

TEST_F(SimFaultsTest, BreakAfterTurnsTheStatusNonzeroOnlyOnceThatTimeHasPassed) {
    OpenPodWith("break-after=0.5");
    ASSERT_EQ(Start(true), 1);
    const Poll poll = PollUntilNonzero(seconds(5));
    EXPECT_EQ(poll.status, 1);
    EXPECT_EQ(poll.running, 1);
    EXPECT_GE(poll.at, milliseconds(500));
}

TEST_F(SimFaultsTest, UnplugAfterRemovesThePodMidCapture) {
    OpenPodWith("unplug-after=0.5");
    ASSERT_EQ(Start(true), 1);
    const Poll poll = PollUntilNonzero(seconds(5));
    EXPECT_EQ(poll.status, 0xCC) << "a removed pod does not answer";
    EXPECT_GE(poll.at, milliseconds(500));
    EXPECT_EQ(StopCapture(), 1);
    uint32_t ids[4] = {};
    EXPECT_EQ(EnumeratePods(ids), 0) << "no longer listed";
}

} // namespace
} // namespace podtest
