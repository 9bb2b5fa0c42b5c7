// The controller's register model as the firmware reaches it over the 8051's bus, and as the
// host and the front end reach it from outside.
#include "usb/sim/pod_controller.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace podtest {
namespace {

using podcore::usb::sim::PodController;

constexpr uint16_t kEp1OutBuf = 0xE780;
constexpr uint16_t kEp1InBuf = 0xE7C0;
constexpr uint16_t kEp1OutBc = 0xE68D;
constexpr uint16_t kEp1InBc = 0xE68F;
constexpr uint16_t kEp1OutCs = 0xE6A1;
constexpr uint16_t kEp1InCs = 0xE6A2;
constexpr uint8_t kEp01Stat = 0xBA;
constexpr uint16_t kIfConfig = 0xE601;
constexpr uint16_t kFifoReset = 0xE604;
constexpr uint16_t kEp6Cfg = 0xE614;
constexpr uint16_t kEp8Cfg = 0xE615;
constexpr uint16_t kEp6FifoCfg = 0xE61A;
constexpr uint16_t kEp8FifoCfg = 0xE61B;
constexpr uint16_t kEp8AutoInLenH = 0xE626;
constexpr uint16_t kEp8AutoInLenL = 0xE627;
constexpr uint16_t kEp8Cs = 0xE6A6;
constexpr uint16_t kEp8FifoBcH = 0xE6B1;
constexpr uint16_t kEp8FifoBcL = 0xE6B2;
constexpr uint8_t kEp2468Stat = 0xAA;
constexpr uint8_t kEp68FifoFlgs = 0xAC;
constexpr uint8_t kIoa = 0x80;
constexpr uint8_t kIoc = 0xA0;
constexpr uint8_t kOea = 0xB2;
constexpr uint8_t kOec = 0xB4;

std::vector<uint8_t> Counting(size_t count, uint8_t first = 0) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// What the pod firmware sets up: synchronous slave FIFOs on the internal 48 MHz clock, both
// endpoints bulk IN with AUTOIN, the main stream word-wide.
void ConfigureAsThePodNeeds(PodController& c) {
    c.WriteXdata(kIfConfig, 0xE3);
    c.WriteXdata(kEp6Cfg, 0xE2);
    c.WriteXdata(kEp8Cfg, 0xE0);
    c.WriteXdata(kEp6FifoCfg, 0x08);
    c.WriteXdata(kEp8FifoCfg, 0x09);
}

TEST(PodControllerTest, EndpointOneHandsPacketsBetweenHostAndFirmware) {
    PodController c;
    const std::vector<uint8_t> start = {1, 5};
    EXPECT_FALSE(c.HostCommand(start)) << "not armed: the host's packet waits";
    EXPECT_EQ(c.ReadSfr(kEp01Stat), 0);

    c.WriteXdata(kEp1OutBc, 0);
    EXPECT_EQ(c.ReadSfr(kEp01Stat), 0x02);
    EXPECT_EQ(c.ReadXdata(kEp1OutCs), 0x02);
    EXPECT_EQ(c.HostCommand(start), 2u);
    EXPECT_EQ(c.ReadSfr(kEp01Stat), 0x00);
    EXPECT_EQ(c.ReadXdata(kEp1OutBc), 2);
    EXPECT_EQ(c.ReadXdata(kEp1OutBuf), 1);
    EXPECT_EQ(c.ReadXdata(kEp1OutBuf + 1), 5);
    EXPECT_FALSE(c.HostCommand(start)) << "the firmware has not taken the last one";

    c.WriteXdata(kEp1OutBc, 0);
    EXPECT_EQ(c.HostCommand(Counting(70)), 64u) << "one packet holds 64 bytes";
    EXPECT_EQ(c.ReadXdata(kEp1OutBc), 64);
    EXPECT_EQ(c.ReadXdata(kEp1OutBuf + 63), 63);

    EXPECT_FALSE(c.HostStatus());
    c.WriteXdata(kEp1InBuf, 0x55);
    c.WriteXdata(kEp1InBc, 1);
    EXPECT_EQ(c.ReadSfr(kEp01Stat), 0x04);
    EXPECT_EQ(c.ReadXdata(kEp1InCs), 0x02);
    const auto status = c.HostStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->count, 1);
    EXPECT_EQ(status->bytes[0], 0x55);
    EXPECT_EQ(c.ReadSfr(kEp01Stat), 0x00);
    EXPECT_FALSE(c.HostStatus()) << "each armed packet is read once";

    c.WriteXdata(kEp1InBc, 200);
    EXPECT_EQ(c.HostStatus()->count, 64) << "a count beyond the buffer sends the buffer";
}

TEST(PodControllerTest, AnEndpointWithoutItsValidBitAnswersNothing) {
    PodController c;
    c.WriteXdata(0xE610, 0x00); // EP1OUTCFG
    c.WriteXdata(0xE611, 0x00); // EP1INCFG
    c.WriteXdata(kEp1OutBc, 0);
    c.WriteXdata(kEp1InBc, 1);
    const std::vector<uint8_t> stop = {0};
    EXPECT_FALSE(c.HostCommand(stop));
    EXPECT_FALSE(c.HostStatus());
}

TEST(PodControllerTest, AFifoCommitsFullPacketsAndTheHostTakesThemInOrder) {
    PodController c;
    ConfigureAsThePodNeeds(c);
    const std::vector<uint8_t> samples = Counting(1536);
    EXPECT_EQ(c.FrontEndWrite(8, samples.data(), 700, true), 700u);
    EXPECT_EQ(c.Fifo(8)->Packets(), 1u);
    EXPECT_EQ(c.ReadXdata(kEp8FifoBcH) << 8 | c.ReadXdata(kEp8FifoBcL), 700);
    EXPECT_EQ(c.ReadXdata(kEp8Cs), 0x10) << "one packet, neither full nor empty";

    EXPECT_EQ(c.FrontEndWrite(8, samples.data() + 700, 836, true), 324u)
        << "two buffers of 512 bytes";
    EXPECT_EQ(c.ReadXdata(kEp8Cs), 0x28) << "two packets, full";
    EXPECT_EQ(c.ReadSfr(kEp2468Stat), 0x80 | 0x10) << "EP8 full, EP6 empty";
    EXPECT_EQ(c.ReadSfr(kEp68FifoFlgs), 0x10 | 0x02) << "EP8 FF, EP6 EF";
    EXPECT_EQ(c.FrontEndWrite(8, samples.data() + 1024, 512, true), 0u);

    std::vector<uint8_t> packet;
    c.WriteXdata(kFifoReset, 0x80);
    EXPECT_FALSE(c.HostTakePacket(8, packet)) << "NAKALL holds the packets back";
    c.WriteXdata(kFifoReset, 0x00);
    ASSERT_TRUE(c.HostTakePacket(8, packet));
    EXPECT_EQ(packet, std::vector<uint8_t>(samples.begin(), samples.begin() + 512));
    EXPECT_EQ(c.FrontEndWrite(8, samples.data() + 1024, 512, true), 512u);
    ASSERT_TRUE(c.HostTakePacket(8, packet));
    EXPECT_EQ(packet, std::vector<uint8_t>(samples.begin() + 512, samples.begin() + 1024));
    ASSERT_TRUE(c.HostTakePacket(8, packet));
    EXPECT_EQ(packet, std::vector<uint8_t>(samples.begin() + 1024, samples.end()));
    EXPECT_FALSE(c.HostTakePacket(8, packet));
    EXPECT_FALSE(c.HostTakePacket(2, packet)) << "no FIFO of endpoint 2 in the model";

    EXPECT_EQ(c.FrontEndWrite(8, samples.data(), 600, true), 600u);
    c.WriteXdata(kFifoReset, 0x88);
    c.WriteXdata(kFifoReset, 0x00);
    EXPECT_TRUE(c.Fifo(8)->Empty());
    EXPECT_FALSE(c.HostTakePacket(8, packet)) << "the reset emptied it";
    EXPECT_EQ(c.ReadXdata(kEp8Cs), 0x04) << "empty";
}

TEST(PodControllerTest, EndpointSixHasAsManyBuffersAsItsConfigurationSays) {
    struct Case {
        uint8_t config;
        size_t packets;
    };
    for (const Case& c : {Case{0xE2, 2}, Case{0xE3, 3}, Case{0xE0, 4}}) {
        SCOPED_TRACE(c.config);
        PodController controller;
        ConfigureAsThePodNeeds(controller);
        controller.WriteXdata(kEp6Cfg, c.config);
        const std::vector<uint8_t> bytes(8 * 512, 0x42);
        EXPECT_EQ(controller.FrontEndWrite(6, bytes.data(), bytes.size(), false), c.packets * 512);
        EXPECT_TRUE(controller.Fifo(6)->Full());
    }
}

// The front end's data reaches a FIFO only when it is set up as the pod needs it.
TEST(PodControllerTest, AFifoSetUpOtherwiseTakesNothing) {
    struct Write {
        uint16_t address;
        uint8_t value;
    };
    struct Case {
        std::string name;
        std::vector<Write> writes; // after the pod's own set-up
        uint8_t endpoint;
        bool wordWide;
        size_t taken;
    };
    const Case cases[] = {
        {"the pod's own set-up", {}, 8, true, 1024},
        {"the pod's own set-up, aux stream", {}, 6, false, 1024},
        {"the ports mode instead of slave FIFOs", {{kIfConfig, 0xE0}}, 8, true, 0},
        {"asynchronous slave FIFOs", {{kIfConfig, 0xEB}}, 8, true, 0},
        {"an invalid endpoint", {{kEp8Cfg, 0x60}}, 8, true, 0},
        {"an OUT endpoint", {{kEp8Cfg, 0xA0}}, 8, true, 0},
        {"an isochronous endpoint", {{kEp8Cfg, 0xD0}}, 8, true, 0},
        {"no AUTOIN", {{kEp8FifoCfg, 0x01}}, 8, true, 0},
        {"a byte-wide FIFO for 16-bit words", {{kEp8FifoCfg, 0x08}}, 8, true, 0},
        {"a word-wide FIFO for bytes", {{kEp6FifoCfg, 0x09}}, 6, false, 0},
        {"no auto-commit length", {{kEp8AutoInLenH, 0x00}}, 8, true, 0},
        {"a packet longer than the buffer", {{kEp8AutoInLenH, 0x04}}, 8, true, 0},
        {"an odd packet length for words",
         {{kEp8AutoInLenH, 0x01}, {kEp8AutoInLenL, 0x01}},
         8,
         true,
         0},
    };
    const std::vector<uint8_t> bytes(2048, 0x42);
    std::vector<uint8_t> packet;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PodController controller;
        ConfigureAsThePodNeeds(controller);
        for (const Write& write : c.writes)
            controller.WriteXdata(write.address, write.value);
        EXPECT_EQ(controller.FrontEndWrite(c.endpoint, bytes.data(), bytes.size(), c.wordWide),
                  c.taken);
        EXPECT_EQ(controller.HostTakePacket(c.endpoint, packet), c.taken > 0);
    }
}

TEST(PodControllerTest, TheBoardSeesThePinsTheFirmwareDrives) {
    PodController c;
    c.WriteSfr(kIoa, 0x01);
    c.WriteSfr(kIoc, 0x17);
    EXPECT_FALSE(c.RunPin()) << "latched, not driven: the pull-down holds RUN low";
    EXPECT_EQ(c.DivisorPins(), 0);
    c.WriteSfr(kOea, 0x01);
    c.WriteSfr(kOec, 0x0F);
    EXPECT_TRUE(c.RunPin());
    EXPECT_EQ(c.DivisorPins(), 0x07) << "undriven pins read low";

    EXPECT_EQ(c.ReadSfr(kIoa), 0x01);
    c.SetOverflowPin(true);
    EXPECT_EQ(c.ReadSfr(kIoa), 0x03) << "OVF on the input PA1";
    c.WriteSfr(kOea, 0x03);
    EXPECT_EQ(c.ReadSfr(kIoa), 0x01) << "an output reads its latch";
    c.WriteSfr(kOea, 0x01);
    c.SetOverflowPin(false);
    EXPECT_EQ(c.ReadSfr(kIoa), 0x01);

    c.HostWriteReset(1);
    EXPECT_FALSE(c.RunPin()) << "the reset makes every pin an input";
    EXPECT_EQ(c.ReadSfr(kOea), 0);
}

TEST(PodControllerTest, RegistersItDoesNotModelReadZero) {
    PodController c;
    for (const uint16_t address : {0xE60A, 0xE648, 0xE6C0, 0xE740, 0xF000, 0xFFFF, 0x2000}) {
        c.WriteXdata(address, 0xFF);
        EXPECT_EQ(c.ReadXdata(address), 0) << std::hex << address;
    }
    for (const uint8_t address : {0x88, 0x89, 0xA8, 0xC8, 0xE8}) {
        c.WriteSfr(address, 0xFF);
        EXPECT_EQ(c.ReadSfr(address), 0) << std::hex << int{address};
    }
}

TEST(PodControllerTest, TheResetBitBelongsToTheHost) {
    PodController c;
    EXPECT_TRUE(c.Held()) << "held from power-on";
    c.HostWriteReset(0);
    EXPECT_FALSE(c.Held());
    c.WriteXdata(0xE600, 0x11);
    EXPECT_FALSE(c.Held()) << "the CPU cannot hold itself";
    EXPECT_EQ(c.ReadXdata(0xE600), 0x10) << "the clock speed bits are the firmware's";
    c.HostWriteReset(1);
    c.HostWriteReset(0);
    EXPECT_EQ(c.Holds(), 1u);

    EXPECT_EQ(c.InterfaceClockHz(), 0u) << "IFCLK not driven out";
    c.WriteXdata(kIfConfig, 0xA3);
    EXPECT_EQ(c.InterfaceClockHz(), 30'000'000u);
    c.WriteXdata(kIfConfig, 0xE3);
    EXPECT_EQ(c.InterfaceClockHz(), 48'000'000u);
}

TEST(PodControllerTest, TheHostLoadsProgramMemoryOnlyWithinIt) {
    PodController c;
    const std::vector<uint8_t> chunk = Counting(512, 1);
    EXPECT_TRUE(c.HostWrite(0x1E00, chunk));
    EXPECT_EQ(c.ReadXdata(0x1E00), 1) << "program memory is also data memory";
    EXPECT_EQ(c.ProgramMemory()[0x1FFF], chunk.back());
    EXPECT_FALSE(c.HostWrite(0x1F00, chunk));
    EXPECT_EQ(c.ProgramMemory()[0x1F00], chunk[0x100]) << "a refused load changes nothing";
    std::vector<uint8_t> back(512);
    EXPECT_TRUE(c.HostRead(0x1E00, back));
    EXPECT_EQ(back, chunk);
    EXPECT_FALSE(c.HostRead(0xE000, back));
}

TEST(PodControllerTest, ChangesFromOutsideWakeTheListener) {
    PodController c;
    int calls = 0;
    c.SetChangeListener([&] { ++calls; });
    const uint64_t start = c.Generation();
    c.WriteSfr(kIoa, 0);
    c.WriteXdata(0xE000, 0);
    EXPECT_EQ(c.Generation(), start) << "writes that change nothing";
    c.WriteXdata(0xE000, 1);
    c.WriteXdata(kEp1InBc, 1);
    EXPECT_EQ(c.Generation(), start + 2);
    EXPECT_EQ(calls, 0) << "the CPU's own changes wake nobody";

    c.HostStatus();
    c.SetOverflowPin(true);
    c.HostWriteReset(0);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(c.Generation(), start + 5);
}

} // namespace
} // namespace podtest
