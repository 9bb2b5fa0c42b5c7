// Firmware loading through the exports: the exact load requests, files of odd sizes, missing
// files, and the virtual pod starting only the embedded program.
#include "sim_fixture.h"

#include "exports/podcore.h"
#include "usb/firmware/firmware_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace podtest {
namespace {

using namespace podcore::usb;
using firmware::EmbeddedImage;
using firmware::kImageBytes;

class FirmwareTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        pod = AttachPod(1);
        ASSERT_EQ(InitializeKTLAPod(1), 1);
        sim->ClearRequests();
    }

    std::string WriteFile(const char* name, const std::vector<uint8_t>& bytes) {
        const std::string path = (stateHome / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // The firmware-load requests sent, as {value, data length, data}.
    struct Load {
        uint16_t value;
        uint32_t length;
        std::vector<uint8_t> data;
    };
    std::vector<Load> Loads() const {
        std::vector<Load> loads;
        for (const auto& entry : RequestsOf(request::ControlTransfer)) {
            const TransferRequest header = *entry.Header();
            EXPECT_EQ(header.request, 0xA0);
            EXPECT_EQ(header.requestType, 0x40);
            loads.push_back({header.value,
                             header.dataLength,
                             {entry.input.begin() + TransferRequest::kSize, entry.input.end()}});
        }
        return loads;
    }

    uint8_t Status() {
        uint8_t status = 0xCC;
        BulkIn(1, 1, &status);
        return status;
    }

    std::shared_ptr<VirtualPod> pod;
};

std::vector<uint8_t> Counting(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(i % 251);
    return bytes;
}

TEST_F(FirmwareTest, DownloadImageSendsSixteenLoadsFramedByTheResetWrites) {
    EXPECT_EQ(DownloadImage(EmbeddedImage()), 1);
    const auto loads = Loads();
    ASSERT_EQ(loads.size(), 18u);
    EXPECT_EQ(loads.front().value, 0xE600);
    EXPECT_EQ(loads.front().data, std::vector<uint8_t>{1});
    for (int i = 0; i < 16; ++i) {
        const Load& load = loads[1 + i];
        EXPECT_EQ(load.value, i * 512);
        EXPECT_EQ(load.length, 512u);
        EXPECT_TRUE(std::equal(load.data.begin(), load.data.end(), EmbeddedImage() + i * 512));
    }
    EXPECT_EQ(loads.back().value, 0xE600);
    EXPECT_EQ(loads.back().data, std::vector<uint8_t>{0});
    EXPECT_EQ(Pods().lastControlResult, 1);

    EXPECT_EQ(Status(), 0x55) << "the embedded program runs and reports ready";
    // No transfer is queued on the streams, so real-time sampling would overflow at once; the
    // pod's clock is all but stopped to look at the start command alone.
    WithDevice(*pod, [](VirtualPod& p) { p.sampling.timeScale = 1e-9; });
    uint8_t start[2] = {1, 3};
    EXPECT_EQ(BulkOut(1, 2, start), 1);
    EXPECT_EQ(Status(), 0);
    WithDevice(*pod, [](VirtualPod& p) {
        EXPECT_EQ(p.SamplingDivisor(), 3);
        const std::vector<uint8_t> flood(VirtualPod::kStreamFifoBytes + 1);
        EXPECT_FALSE(p.MainStream().Feed(flood.data(), flood.size()));
    });
    EXPECT_NE(Status(), 0) << "an overflowing stream is a break";
}

TEST_F(FirmwareTest, AnotherImageLoadsButDoesNotRun) {
    std::vector<uint8_t> image(EmbeddedImage(), EmbeddedImage() + kImageBytes);
    image[0x100] = 0x00;
    EXPECT_EQ(DownloadImage(image.data()), 1);
    WithDevice(*pod, [](VirtualPod& p) { EXPECT_FALSE(p.Running()); });
    uint8_t status = 0xCC;
    EXPECT_EQ(BulkIn(1, 1, &status), 0) << "a pod that does not answer";
    EXPECT_EQ(status, 0xCC);
    EXPECT_EQ(DownloadImage(nullptr), 0);
}

TEST_F(FirmwareTest, AFailingLoadFailsTheDownloadsAndTheResetWrite) {
    WithDevice(*pod, [](VirtualDevice& d) { d.faults.failFirmwareLoad = true; });
    EXPECT_EQ(Reset8051(1), 4);
    EXPECT_EQ(Pods().lastControlResult, 0);
    EXPECT_EQ(DownloadImage(EmbeddedImage()), 0);
    EXPECT_EQ(Loads().size(), 2u) << "two reset writes, and no chunk after the failed hold";
    const std::string path = WriteFile("image.bin", Counting(700));
    EXPECT_EQ(DownloadFile(path.c_str()), 0);
    EXPECT_EQ(DownloadFirmware(path.c_str()), 0);
}

TEST_F(FirmwareTest, DownloadFileSendsWholeChunksOfAtMost8192Bytes) {
    struct Case {
        size_t size;
        size_t loads;
    };
    for (const Case c : {Case{700, 2}, Case{10000, 16}, Case{512, 1}, Case{8192, 16}}) {
        const auto bytes = Counting(c.size);
        const std::string path = WriteFile("image.bin", bytes);
        sim->ClearRequests();
        EXPECT_EQ(DownloadFile(path.c_str()), 1) << c.size;
        const auto loads = Loads();
        ASSERT_EQ(loads.size(), c.loads) << c.size << " bytes";
        for (size_t i = 0; i < loads.size(); ++i) {
            EXPECT_EQ(loads[i].value, i * 512);
            EXPECT_EQ(loads[i].length, 512u);
            for (size_t k = 0; k < 512; ++k) {
                const size_t at = i * 512 + k;
                ASSERT_EQ(loads[i].data[k], at < c.size ? bytes[at] : 0xAA) << at;
            }
        }
    }
}

TEST_F(FirmwareTest, MissingAndEmptyFilesSendNothing) {
    EXPECT_EQ(DownloadFile((stateHome / "missing.bin").c_str()), 0);
    EXPECT_EQ(DownloadFile(nullptr), 0);
    EXPECT_TRUE(Loads().empty());
    const std::string empty = WriteFile("empty.bin", {});
    EXPECT_EQ(DownloadFile(empty.c_str()), 0) << "the previous control result was a failure";
    uint8_t byte = 0;
    ASSERT_EQ(ControlIn(0xA0, 0, 0, 1, &byte), 1);
    EXPECT_EQ(DownloadFile(empty.c_str()), 1) << "the previous control result stands";
    EXPECT_EQ(DownloadFirmware((stateHome / "missing.bin").c_str()), 0);
    WithDevice(*pod, [](VirtualPod& p) { EXPECT_TRUE(p.Held()) << "stopped after the hold"; });
}

TEST_F(FirmwareTest, DownloadFirmwareLoadsAFileAndStartsIt) {
    const std::string path =
        WriteFile("pod.bin", std::vector<uint8_t>(EmbeddedImage(), EmbeddedImage() + kImageBytes));
    EXPECT_EQ(DownloadFirmware(path.c_str()), 1);
    const auto loads = Loads();
    ASSERT_EQ(loads.size(), 18u);
    EXPECT_EQ(loads.front().value, 0xE600);
    EXPECT_EQ(loads.back().value, 0xE600);
    EXPECT_EQ(Status(), 0x55);
}

} // namespace
} // namespace podtest
