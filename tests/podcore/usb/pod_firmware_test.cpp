// The embedded pod firmware on the emulated 8051 and the controller model, driven as the host
// and the front end drive it: the ready byte, the start at each divisor, the overflow report,
// the stop, the restart after a reset, and images that set the FIFOs up wrongly.
#include "usb/firmware/firmware_image.h"
#include "usb/sim/pod_processor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace podtest {
namespace {

using podcore::usb::firmware::EmbeddedImage;
using podcore::usb::firmware::kImageBytes;
using podcore::usb::sim::PodController;
using podcore::usb::sim::PodProcessor;

constexpr uint8_t kReady = 0x55;
constexpr uint8_t kNoBreak = 0x00;
constexpr uint8_t kMainEndpoint = 8;
constexpr uint8_t kAuxEndpoint = 6;
// Far more than the firmware needs to get from its reset to waiting for the host.
constexpr uint32_t kInstructionBound = 20000;

std::vector<uint8_t> Image() {
    return {EmbeddedImage(), EmbeddedImage() + kImageBytes};
}

class PodFirmwareTest : public ::testing::Test {
protected:
    // As the library loads an image: hold, 16 chunks, release.
    void Load(const std::vector<uint8_t>& image) {
        controller.HostWriteReset(1);
        for (uint16_t at = 0; at < kImageBytes; at += 512)
            ASSERT_TRUE(controller.HostWrite(at, {image.data() + at, 512}));
        controller.HostWriteReset(0);
        RunUntilWaiting();
    }

    // Runs the program until it waits for the host or the front end.
    void RunUntilWaiting() {
        const PodProcessor::Slice slice = processor.Run(kInstructionBound);
        ASSERT_TRUE(slice.waiting) << "still busy after " << slice.executed << " instructions";
    }

    // One read of endpoint 0x81.
    std::optional<uint8_t> Status() {
        const auto packet = controller.HostStatus();
        RunUntilWaiting();
        if (!packet)
            return std::nullopt;
        EXPECT_EQ(packet->count, 1) << "one status byte per read";
        return packet->bytes[0];
    }

    // The first read after a change may still return the byte armed before it.
    std::optional<uint8_t> StatusAfterChange() {
        Status();
        return Status();
    }

    bool Command(std::vector<uint8_t> bytes) {
        const bool taken = controller.HostCommand(bytes).has_value();
        RunUntilWaiting();
        return taken;
    }

    size_t Feed(uint8_t endpoint, size_t count) {
        const std::vector<uint8_t> bytes(count, 0x5A);
        return controller.FrontEndWrite(endpoint, bytes.data(), count, endpoint == kMainEndpoint);
    }

    PodController controller;
    PodProcessor processor{controller};
};

TEST_F(PodFirmwareTest, ReportsReadyWithTheControllerSetUpForTheFrontEnd) {
    Load(Image());
    EXPECT_LT(processor.Executed(), kInstructionBound);
    for (int read = 0; read < 5; ++read)
        EXPECT_EQ(Status(), kReady) << "read " << read;

    EXPECT_EQ(controller.InterfaceClockHz(), 48'000'000u);
    EXPECT_EQ(controller.ReadXdata(0xE600) & 0x18, 0x10) << "the CPU at 48 MHz";
    EXPECT_EQ(controller.ReadXdata(0xE602), 0xFE) << "FLAGA: EP6 full, FLAGB: EP8 full";
    EXPECT_TRUE(controller.Fifo(kMainEndpoint)->Accepts(true));
    EXPECT_TRUE(controller.Fifo(kAuxEndpoint)->Accepts(false));
    EXPECT_EQ(controller.Fifo(kMainEndpoint)->AutoInLength(), 512);
    EXPECT_EQ(controller.Fifo(kAuxEndpoint)->AutoInLength(), 512);
    EXPECT_FALSE(controller.RunPin()) << "no sampling before the start command";
}

TEST_F(PodFirmwareTest, StartsTheFrontEndAtEachDivisor) {
    Load(Image());
    for (const uint8_t divisor : {47, 23, 15, 11, 7, 5, 3, 2, 1}) {
        SCOPED_TRACE(divisor);
        ASSERT_TRUE(Command({1, divisor}));
        EXPECT_TRUE(controller.RunPin());
        EXPECT_EQ(controller.DivisorPins(), divisor);
        EXPECT_EQ(StatusAfterChange(), kNoBreak);
    }
    ASSERT_TRUE(Command({1, 0}));
    EXPECT_EQ(controller.DivisorPins(), 1) << "divisor 0 is beyond the front end: its fastest";
}

TEST_F(PodFirmwareTest, SamplesReachTheHostInWholePacketsAndAStartDropsOldOnes) {
    Load(Image());
    ASSERT_TRUE(Command({1, 2}));
    EXPECT_EQ(Feed(kMainEndpoint, 1000), 1000u);
    EXPECT_EQ(Feed(kAuxEndpoint, 300), 300u);
    std::vector<uint8_t> packet;
    ASSERT_TRUE(controller.HostTakePacket(kMainEndpoint, packet));
    EXPECT_EQ(packet.size(), 512u);
    EXPECT_FALSE(controller.HostTakePacket(kAuxEndpoint, packet)) << "not yet a whole packet";

    ASSERT_TRUE(Command({1, 3}));
    EXPECT_TRUE(controller.Fifo(kMainEndpoint)->Empty());
    EXPECT_TRUE(controller.Fifo(kAuxEndpoint)->Empty());
}

TEST_F(PodFirmwareTest, AnOverflowStaysReportedUntilTheNextStart) {
    Load(Image());
    controller.SetOverflowPin(true);
    RunUntilWaiting();
    EXPECT_EQ(StatusAfterChange(), kReady) << "an overflow before sampling is no break";
    controller.SetOverflowPin(false);
    RunUntilWaiting();

    ASSERT_TRUE(Command({1, 5}));
    EXPECT_EQ(StatusAfterChange(), kNoBreak);
    controller.SetOverflowPin(true);
    RunUntilWaiting();
    const auto broken = StatusAfterChange();
    ASSERT_TRUE(broken);
    EXPECT_NE(*broken, kNoBreak);
    EXPECT_NE(*broken, kReady);
    controller.SetOverflowPin(false);
    RunUntilWaiting();
    EXPECT_EQ(StatusAfterChange(), broken) << "the front end's overflow has passed, the loss not";

    ASSERT_TRUE(Command({1, 5}));
    EXPECT_EQ(StatusAfterChange(), kNoBreak);
}

TEST_F(PodFirmwareTest, StopsOnTheStopCommandAndIgnoresOtherMessages) {
    Load(Image());
    ASSERT_TRUE(Command({1, 7}));
    const std::vector<std::vector<uint8_t>> ignored = {{1}, {1, 3, 0}, {2, 3}, {0, 0}, {0x55}, {}};
    for (const auto& message : ignored) {
        SCOPED_TRACE(testing::PrintToString(message));
        ASSERT_TRUE(Command(message));
        EXPECT_TRUE(controller.RunPin());
        EXPECT_EQ(controller.DivisorPins(), 7);
    }
    ASSERT_TRUE(Command({0}));
    EXPECT_FALSE(controller.RunPin());
    EXPECT_EQ(StatusAfterChange(), kNoBreak) << "the run's status stays readable";
}

TEST_F(PodFirmwareTest, RestartsAfterAReset) {
    Load(Image());
    ASSERT_TRUE(Command({1, 3}));
    Status(); // leaves the run's status byte armed across the reset, as a real pod does

    controller.HostWriteReset(1);
    EXPECT_FALSE(controller.RunPin()) << "holding the CPU stops the front end";
    Load(Image());
    EXPECT_EQ(StatusAfterChange(), kReady);
    EXPECT_FALSE(controller.RunPin());
    ASSERT_TRUE(Command({1, 11}));
    EXPECT_TRUE(controller.RunPin());
    EXPECT_EQ(controller.DivisorPins(), 11);
}

// The image with one register write's value changed: `mov dptr,#address; mov a,#old; movx`.
std::vector<uint8_t> WithRegisterWrite(uint16_t address, uint8_t old, uint8_t value) {
    std::vector<uint8_t> image = Image();
    const std::array<uint8_t, 6> write = {
        0x90, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), 0x74, old, 0xF0};
    const auto at = std::search(image.begin(), image.end(), write.begin(), write.end());
    EXPECT_NE(at, image.end()) << "the image does not write " << std::hex << address;
    if (at != image.end())
        at[4] = value;
    return image;
}

TEST_F(PodFirmwareTest, AnImageThatSetsAFifoUpWronglyGetsNoSamplesToTheHost) {
    struct Case {
        std::string name;
        uint16_t address;
        uint8_t old;
        uint8_t value;
        std::vector<uint8_t> deadEndpoints;
    };
    const Case cases[] = {
        {"EP8 without AUTOIN", 0xE61B, 0x09, 0x01, {kMainEndpoint}},
        {"EP8 byte-wide", 0xE61B, 0x09, 0x08, {kMainEndpoint}},
        {"EP6 without AUTOIN", 0xE61A, 0x08, 0x00, {kAuxEndpoint}},
        {"the interface in ports mode", 0xE601, 0xE3, 0xE0, {kMainEndpoint, kAuxEndpoint}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PodController pod;
        PodProcessor cpu(pod);
        const std::vector<uint8_t> image = WithRegisterWrite(c.address, c.old, c.value);
        pod.HostWriteReset(1);
        ASSERT_TRUE(pod.HostWrite(0, image));
        pod.HostWriteReset(0);
        ASSERT_TRUE(cpu.Run(kInstructionBound).waiting);
        const std::vector<uint8_t> start = {1, 2};
        ASSERT_TRUE(pod.HostCommand(start));
        ASSERT_TRUE(cpu.Run(kInstructionBound).waiting);
        EXPECT_TRUE(pod.RunPin()) << "the program runs and starts the front end";

        const std::vector<uint8_t> samples(2048, 0x33);
        std::vector<uint8_t> packet;
        for (const uint8_t endpoint : {kMainEndpoint, kAuxEndpoint}) {
            const bool dead = std::count(c.deadEndpoints.begin(), c.deadEndpoints.end(), endpoint);
            const bool wordWide = endpoint == kMainEndpoint;
            EXPECT_EQ(pod.FrontEndWrite(endpoint, samples.data(), samples.size(), wordWide) == 0,
                      dead)
                << "endpoint " << int{endpoint};
            EXPECT_EQ(pod.HostTakePacket(endpoint, packet), !dead) << "endpoint " << int{endpoint};
        }
    }
}

} // namespace
} // namespace podtest
