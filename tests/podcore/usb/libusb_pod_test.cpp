// The libusb back end end to end: libusb drives virtual pods through emulated usbfs device
// nodes (umockdev), and the library's exports do discovery, descriptors, the firmware load,
// the ready byte, the start command and whole captures as on a real pod.
#include "buffer/sample_buffer.h"
#include "capture_run.h"
#include "exports/podcore.h"
#include "usb/driver.h"
#include "usb/firmware/firmware_image.h"
#include "usb/libusb/libusb_driver.h"
#include "usb/pod_state.h"
#include "usb/sim/sim_driver.h"
#include "usb/sim/virtual_pod.h"
#include "usb/usb_device.h"
#include "usbfs/usbfs_bus.h"

#include <gtest/gtest.h>
#include <sys/capability.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace capture_test;
using namespace std::chrono;
using podcore::usb::sim::VirtualDevice;
using podcore::usb::sim::VirtualPod;

constexpr uint32_t kNeverMatches = 0x1000000; // the count has 24 bits

// Runs `work` on this thread without the capabilities that let root open any file, so that
// file permissions bind it as they bind a user. Capabilities belong to each thread.
template <typename Work> void WithUserFileAccess(Work work) {
    cap_t saved = cap_get_proc();
    cap_t reduced = cap_dup(saved);
    const cap_value_t overrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};
    cap_set_flag(reduced, CAP_EFFECTIVE, 3, overrides, CAP_CLEAR);
    ASSERT_EQ(cap_set_proc(reduced), 0);
    work();
    cap_set_proc(saved);
    cap_free(reduced);
    cap_free(saved);
}

// Polls until `done` holds or `limit` passed; the emulated bus reports arrivals and removals
// on libusb's own thread.
template <typename Done> bool Eventually(Done done, milliseconds limit = seconds(5)) {
    const auto end = steady_clock::now() + limit;
    while (!done()) {
        if (steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

class LibusbPodTest : public ::testing::Test {
protected:
    void SetUp() override {
        bus = std::make_unique<usbfs::UsbfsBus>();
        if (!umockdev_in_mock_environment()) {
            bus.reset();
            GTEST_SKIP() << "needs umockdev's preload library: run it through ctest or "
                            "umockdev-wrapper";
        }
        podcore::usb::ResetPods();
        stateHome = std::filesystem::temp_directory_path() /
                    ("podcore-libusb-pod-" + std::to_string(::getpid()));
        std::filesystem::create_directories(stateHome);
        ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
    }

    void TearDown() override {
        if (!bus)
            return;
        StopCapture();
        if (uint32_t* samples = podcore::buffer::Buffer().samples)
            DeleteBuffer(samples);
        podcore::usb::ResetPods();
        // libusb lets go of the bus before the bus goes.
        podcore::usb::InstallDriver(std::make_unique<podcore::usb::sim::SimDriver>());
        bus.reset();
        std::filesystem::remove_all(stateHome);
    }

    // A pod that counts, slowed as the build needs, plugged in at `port` (0: a new one).
    std::shared_ptr<VirtualPod> AttachPod(uint16_t id, bool fullSpeed = false, int port = 0) {
        auto pod = std::make_shared<VirtualPod>(id, fullSpeed);
        pod->sampling.signal = podcore::usb::sim::Signal::Counting;
        pod->sampling.timeScale = kPodTimeScale;
        pod->sampling.fastestSamplesPerSecond = kFastestPodSamples;
        bus->Attach(pod, port);
        return pod;
    }

    // The library's driver from here on is libusb, on the bus as it is now.
    static void UseLibusb() {
        podcore::usb::InstallDriver(podcore::usb::libusb::MakeLibusbDriver());
    }

    template <typename Look> static void With(VirtualPod& pod, Look look) {
        std::lock_guard lock(pod.mutex);
        look(pod);
    }

    // A capture at `rate` that fills the whole buffer from a trigger on the first block.
    static void ExpectWholeCountedCapture(uint32_t rate) {
        const CaptureOutcome outcome = RunCapture(rate, {}, 0, PostTriggerFor(BufferLength(), 50));
        ASSERT_EQ(outcome.started, 1);
        EXPECT_FALSE(outcome.broke) << "the pod lost data";
        EXPECT_EQ(outcome.running, 0) << "the capture ends by itself";
        const std::vector<uint32_t> samples = LoggedSamples();
        EXPECT_EQ(samples[0], 0u);
        EXPECT_EQ(FirstBreakInCount(samples), samples.size());
    }

    std::unique_ptr<usbfs::UsbfsBus> bus;
    std::filesystem::path stateHome;
};

TEST_F(LibusbPodTest, PodsAreListedInPortOrderByReleaseNumberAndOpenedByIt) {
    AttachPod(5);
    bus->Attach(std::make_shared<VirtualDevice>(
        podcore::usb::sim::DeviceDescriptor(0x1234, 0x5678, 5, 1),
        std::vector<podcore::usb::sim::Bytes>{podcore::usb::sim::ConfigurationDescriptor({})},
        std::map<uint8_t, podcore::usb::sim::Bytes>{}));
    auto nine = AttachPod(9);
    UseLibusb();

    uint32_t ids[8] = {};
    ASSERT_EQ(EnumeratePods(ids), 2) << "the other device is no pod";
    EXPECT_EQ(ids[0], 5u);
    EXPECT_EQ(ids[1], 9u);
    EXPECT_EQ(NewEnumeratePods(ids), 2);
    ASSERT_EQ(InitializeKTLAPod(9), 1);
    With(*nine, [](VirtualPod& p) { EXPECT_EQ(p.AltSetting(), 1) << "the streaming setting"; });
    const podcore::usb::UsbDevice& pod = *podcore::usb::Pods().currentPod;
    EXPECT_EQ(pod.BcdDevice, 9);
    EXPECT_EQ(pod.Manufacturer, u"Tarnwick");
    EXPECT_EQ(pod.Product, u"Tarnwick Logic Analyzer Pod");
    EXPECT_EQ(pod.SerialNumber, u"VP9");
    EXPECT_EQ(pod.EndpointOf(0x86)->MaxPacketSize, 512);
    EXPECT_EQ(InitializeKTLAPod(7), 0) << "no such pod";
}

TEST_F(LibusbPodTest, APodOnAFullSpeedPortIsReported) {
    AttachPod(3, true);
    UseLibusb();
    uint32_t ids[4] = {};
    EXPECT_EQ(EnumeratePods(ids), 1);
    EXPECT_EQ(NewEnumeratePods(ids), -1);
}

TEST_F(LibusbPodTest, TheFirmwareLoadsByRequestA0AndThePodThenSaysReady) {
    struct Case {
        const char* what;
        bool loadsStall;
        int32_t held;
        int32_t loaded;
        bool running;
        int32_t status; // 0xCC: a read that timed out and was cancelled
    };
    const Case cases[] = {
        {"a pod that takes the image", false, 1, 1, true, 0x55},
        {"a pod whose memory loads stall", true, 4, 0, false, 0xCC},
    };
    uint16_t id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto pod = AttachPod(++id);
        pod->faults.failFirmwareLoad = c.loadsStall;
        UseLibusb();
        ASSERT_EQ(InitializeKTLAPod(id), 1);
        EXPECT_EQ(Reset8051(1), c.held);
        EXPECT_EQ(DownloadImage(const_cast<uint8_t*>(podcore::usb::firmware::EmbeddedImage())),
                  c.loaded);
        With(*pod, [&](VirtualPod& p) { EXPECT_EQ(p.Running(), c.running); });
        EXPECT_EQ(SingleCaptureStatus(), c.status);
    }
}

TEST_F(LibusbPodTest, WholeCapturesStreamInOrderAtTwoAndTwelveMillion) {
    struct Rate {
        uint32_t code;
        uint8_t divisor;
    };
    auto pod = AttachPod(7);
    UseLibusb();
    ASSERT_EQ(InitializeKTLAPod(7), 1);
    for (const Rate rate : {Rate{27, 23}, Rate{127, 3}}) {
        SCOPED_TRACE(rate.code);
        // A fresh buffer each time, so that no sample of the last capture passes for this one.
        if (uint32_t* samples = podcore::buffer::Buffer().samples)
            DeleteBuffer(samples);
        ASSERT_NE(MakeBuffer(8 * kSamplesPerBlock), nullptr);
        ExpectWholeCountedCapture(rate.code);
        With(*pod, [&](VirtualPod& p) { EXPECT_EQ(p.SamplingDivisor(), rate.divisor); });
    }
}

TEST_F(LibusbPodTest, APodPulledOutMidCaptureBreaksItAndIsFoundAgainWhenPluggedBackIn) {
    auto pod = AttachPod(7, false, 1);
    UseLibusb();
    ASSERT_EQ(InitializeKTLAPod(7), 1);
    ASSERT_NE(MakeBuffer(4 * kSamplesPerBlock), nullptr);
    const std::vector<uint32_t> never = {kNeverMatches, kNeverMatches};
    ASSERT_EQ(StartCapture(27, 2, never.data(), 1, nullptr, BufferLength(), kSamplesPerBlock), 1);
    std::this_thread::sleep_for(milliseconds(200));
    bus->Remove(pod);

    uint8_t running = 0;
    int32_t status = 0;
    EXPECT_TRUE(Eventually([&] {
        status = CaptureStatus(nullptr, &running, nullptr, nullptr, nullptr, nullptr, nullptr);
        return status != 0;
    })) << "the application would show \"Waiting for Trigger\" for ever";
    EXPECT_EQ(status, 0xCC) << "no status byte arrives";
    EXPECT_EQ(running, 1) << "so the application reports a break";
    const auto stop = steady_clock::now();
    EXPECT_EQ(StopCapture(), 1);
    EXPECT_LT(steady_clock::now() - stop, seconds(2));
    uint32_t ids[4] = {};
    EXPECT_TRUE(Eventually([&] { return NewEnumeratePods(ids) == 0; }));

    // The application keeps the pod it had open; the pod comes back at the same port.
    AttachPod(7, false, 1);
    EXPECT_TRUE(Eventually([&] { return NewEnumeratePods(ids) == 1; }));
    ASSERT_EQ(InitializeKTLAPod(7), 1);
    ExpectWholeCountedCapture(27);
}

TEST_F(LibusbPodTest, APodTheUserMayNotOpenFailsWithTheUdevHint) {
    auto pod = std::make_shared<VirtualPod>(4);
    pod->faults.denyAccess = true;
    bus->Attach(pod);
    UseLibusb();
    uint32_t ids[4] = {};
    testing::internal::CaptureStderr();
    WithUserFileAccess([&] {
        EXPECT_EQ(EnumeratePods(ids), 0);
        EXPECT_EQ(InitializeKTLAPod(4), 0);
    });
    const std::string hint = testing::internal::GetCapturedStderr();
    EXPECT_NE(hint.find("no permission to open the pod at usb:1-1"), std::string::npos) << hint;
    EXPECT_NE(hint.find("60-tarnwick-pod.rules"), std::string::npos) << hint;
}

// The drain at close: transfers still waiting for data are cancelled and complete before the
// handle is gone, so nothing is written into their buffers afterwards.
TEST_F(LibusbPodTest, ClosingAPodCancelsTheTransfersStillInFlight) {
    AttachPod(6);
    UseLibusb();
    podcore::usb::UsbDevice device;
    ASSERT_TRUE(device.IsOpen());
    ASSERT_TRUE(device.SetAltSetting(1));
    std::vector<uint8_t> buffer(65536);
    podcore::usb::Overlapped overlapped;
    auto request = device.EndpointOf(0x88)->BeginTransfer(buffer.data(), 65536, overlapped);
    ASSERT_NE(request, nullptr);
    EXPECT_FALSE(overlapped.Wait(100)) << "a pod that does not sample sends nothing";
    device.Close();
    ASSERT_TRUE(overlapped.Done());
    uint32_t bytes = 1, systemError = 0;
    EXPECT_FALSE(overlapped.Result(bytes, systemError));
    EXPECT_EQ(systemError, podcore::usb::error::OperationAborted);
    EXPECT_EQ(bytes, 0u);
}

} // namespace
