// Pod discovery, opening and the raw transfer exports against virtual pods, including the
// calls that find no pod, no endpoint or a bad pipe number.
#include "sim_fixture.h"

#include "exports/podcore.h"
#include "usb/pod_ids.h"
#include "usb/sim/descriptors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace podtest {
namespace {

using namespace podcore::usb;

class PodExportsTest : public SimTest {
protected:
    std::shared_ptr<VirtualDevice> AttachOtherDevice(uint16_t release) {
        auto device = std::make_shared<VirtualDevice>(
            sim::DeviceDescriptor(PodVendorId, 0x0002, release, 1),
            std::vector<sim::Bytes>{sim::ConfigurationDescriptor(
                {{0, 0, {{0x02, 2, 512}, {0x82, 2, 512}}}, {0, 1, {{0x86, 2, 512}}}})},
            std::map<uint8_t, sim::Bytes>{});
        return sim->Attach(device);
    }

    int OpenCount() const { return static_cast<int>(RequestsOf(request::GetDriverVersion).size()); }
};

TEST_F(PodExportsTest, TwoPodsAreListedInDeviceOrderAndOpenedByIdentifier) {
    AttachPod(5);
    AttachPod(9);
    const std::string log = (stateHome / "norrik" / "output.txt").string();
    std::filesystem::create_directories(stateHome / "norrik");
    std::ofstream(log) << "old text";

    uint32_t ids[257] = {};
    EXPECT_EQ(EnumeratePods(ids), 2);
    EXPECT_EQ(ids[0], 5u);
    EXPECT_EQ(ids[1], 9u);
    ASSERT_TRUE(std::filesystem::exists(log));
    EXPECT_EQ(std::filesystem::file_size(log), 0u) << "created empty";

    EXPECT_EQ(OpenPod(9), 1);
    ASSERT_NE(Pods().currentPod, nullptr);
    EXPECT_EQ(Pods().currentPod->OpenIndex(), 1);
    EXPECT_EQ(OpenPod(7), 0);
    EXPECT_EQ(OpenPod(5), 1);
    EXPECT_EQ(Pods().currentPod->OpenIndex(), 0);
    EXPECT_EQ(ClosePod(), 1);
    EXPECT_EQ(Pods().currentPod, nullptr);
}

TEST_F(PodExportsTest, TheBackEndAndTheVirtualPodsComeFromTheEnvironment) {
    ::setenv("PODCORE_DRIVER", "sim", 1);
    ::setenv("PODCORE_SIM_PODS", "5,9", 1);
    InstallDriver(nullptr); // chosen again on next use
    uint32_t ids[8] = {};
    EXPECT_EQ(EnumeratePods(ids), 2);
    EXPECT_EQ(ids[0], 5u);
    EXPECT_EQ(ids[1], 9u);
    ::unsetenv("PODCORE_SIM_PODS");
    InstallDriver(nullptr);
    EXPECT_EQ(EnumeratePods(ids), 1);
    EXPECT_EQ(ids[0], 1u) << "one pod with identifier 1 by default";
    ::unsetenv("PODCORE_DRIVER");
}

TEST_F(PodExportsTest, NoPodAttachedStillLeavesTheEmptyLogBehind) {
    uint32_t ids[4] = {};
    EXPECT_EQ(EnumeratePods(ids), 0);
    EXPECT_TRUE(std::filesystem::exists(stateHome / "norrik" / "output.txt"));
    EXPECT_EQ(NewEnumeratePods(ids), 0);
    EXPECT_EQ(OpenPod(1), 0);
    EXPECT_EQ(InitializeKTLAPod(1), 0);
    EXPECT_EQ(InitializeKTPod(1), 255);
    EXPECT_EQ(EnumeratePods(nullptr), 0);
}

TEST_F(PodExportsTest, APodThatCannotBeOpenedIsNotListed) {
    auto refused = AttachPod(4);
    AttachPod(5);
    WithDevice(*refused, [](VirtualDevice& d) { d.faults.denyAccess = true; });
    uint32_t ids[8] = {};
    EXPECT_EQ(EnumeratePods(ids), 1);
    EXPECT_EQ(ids[0], 5u);
    EXPECT_EQ(NewEnumeratePods(ids), 1);
    EXPECT_EQ(InitializeKTLAPod(4), 0);
    EXPECT_EQ(Reset8051(1), 4);
    EXPECT_EQ(InitializeKTLAPod(5), 1);
}

TEST_F(PodExportsTest, ADeviceOfTheSameClassThatIsNoPodIsSkippedByEveryCall) {
    AttachOtherDevice(5);
    AttachPod(5);
    uint32_t ids[8] = {};
    EXPECT_EQ(EnumeratePods(ids), 1);
    EXPECT_EQ(ids[0], 5u);
    EXPECT_EQ(NewEnumeratePods(ids), 1);
    EXPECT_EQ(OpenPod(5), 1);
    EXPECT_EQ(Pods().currentPod->OpenIndex(), 1);
    EXPECT_EQ(InitializeKTLAPod(5), 1);
    EXPECT_EQ(Pods().currentPod->OpenIndex(), 1);
    EXPECT_EQ(InitializeKTPod(5), 1);
    EXPECT_EQ(Pods().currentPod->OpenIndex(), 1);
}

TEST_F(PodExportsTest, APodAtFullSpeedMakesNewEnumeratePodsReportMinusOne) {
    AttachPod(5);
    AttachPod(6, true);
    AttachPod(7);
    uint32_t ids[8] = {};
    EXPECT_EQ(NewEnumeratePods(ids), -1);
    EXPECT_EQ(ids[0], 5u) << "identifiers found before it stay";
    EXPECT_EQ(ids[1], 0u);
    EXPECT_EQ(EnumeratePods(ids), 3) << "plain enumeration does not look at the speed";
}

TEST_F(PodExportsTest, InitializeKTLAPodOpensAndSelectsTheStreamingSetting) {
    auto pod = AttachPod(5);
    EXPECT_EQ(InitializeKTLAPod(5), 1);
    EXPECT_EQ(Pods().currentPod->EndpointCount(), 5);
    WithDevice(*pod, [](VirtualDevice& d) { EXPECT_EQ(d.AltSetting(), 1); });
    EXPECT_EQ(InitializeKTLAPod(6), 0);
}

TEST_F(PodExportsTest, InitializeKTPodRemembersPodsInItsTable) {
    AttachPod(7);
    AttachPod(8);
    testing::internal::CaptureStdout();
    EXPECT_EQ(InitializeKTPod(7), 1);
    const int opens = OpenCount();
    EXPECT_EQ(InitializeKTPod(7), 0) << "the index of its entry";
    EXPECT_EQ(OpenCount(), opens) << "without opening the device again";
    EXPECT_EQ(InitializeKTPod(8), 2);
    EXPECT_EQ(InitializeKTPod(7), 0);
    EXPECT_EQ(Pods().currentPod->BcdDevice, 7);
    EXPECT_EQ(InitializeKTPod(8), 1);
    EXPECT_EQ(Pods().currentPod->BcdDevice, 8);
    EXPECT_EQ(InitializeKTPod(9), 255);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "New Device Found. Total= 0 PodID = 7\nTotal Pods = 1\n"
              "New Device Found. Total= 1 PodID = 8\nTotal Pods = 2\n"
              "New Device Found. Total= 2 PodID = 9\n");

    // A remembered pod that was closed is found again, not used closed.
    EXPECT_EQ(ClosePod(), 1);
    EXPECT_EQ(InitializeKTPod(8), 1);
    ASSERT_NE(Pods().currentPod, nullptr);
    EXPECT_TRUE(Pods().currentPod->IsOpen());
    EXPECT_EQ(Pods().currentPod->EndpointCount(), 5);
}

TEST_F(PodExportsTest, AFullPodTableRefusesANewPodWithoutWritingPastIt) {
    for (uint16_t id = 1; id <= PodState::kPodTableSize + 1; ++id)
        AttachPod(id);
    testing::internal::CaptureStdout();
    for (uint16_t id = 1; id <= PodState::kPodTableSize; ++id)
        ASSERT_EQ(InitializeKTPod(id), id);
    const int opens = OpenCount();
    EXPECT_EQ(InitializeKTPod(PodState::kPodTableSize + 1), 255);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Pods().podTableCount, PodState::kPodTableSize);
    EXPECT_EQ(OpenCount(), opens);
    EXPECT_EQ(InitializeKTPod(3), 2) << "remembered pods are still found";
}

TEST_F(PodExportsTest, PodExportsFailWithoutACurrentPod) {
    uint8_t buffer[8] = {};
    const std::pair<std::function<int32_t()>, int32_t> cases[] = {
        {[] { return Reset8051(1); }, 4},
        {[] { return DownloadImage(nullptr); }, 0},
        {[] { return DownloadFile("missing"); }, 0},
        {[] { return DownloadFirmware("missing"); }, 0},
        {[&] { return BulkIn(1, 8, buffer); }, 0},
        {[&] { return BulkOut(1, 8, buffer); }, 0},
        {[&] { return ControlIn(0xA0, 0, 0, 8, buffer); }, 0},
        {[&] { return ControlOut(0xA0, 0, 0, 8, buffer); }, 0},
        {[] { return ClosePod(); }, 1},
    };
    for (const auto& [call, failure] : cases)
        EXPECT_EQ(call(), failure);
    AttachPod(1);
    ASSERT_EQ(OpenPod(1), 1);
    ASSERT_EQ(ClosePod(), 1);
    for (const auto& [call, failure] : cases)
        EXPECT_EQ(call(), failure) << "after ClosePod";
    ASSERT_EQ(OpenPod(2), 0);
    for (const auto& [call, failure] : cases)
        EXPECT_EQ(call(), failure) << "after a failed OpenPod";
}

TEST_F(PodExportsTest, BulkTransfersTakeOnlyPipesOneTwoFourSixAndEight) {
    AttachPod(1);
    ASSERT_EQ(InitializeKTLAPod(1), 1);
    uint8_t buffer[8] = {};
    for (uint8_t pipe : {0, 3, 5, 7, 9, 0x81, 255}) {
        EXPECT_EQ(BulkIn(pipe, 1, buffer), 0) << int{pipe};
        EXPECT_EQ(BulkOut(pipe, 1, buffer), 0) << int{pipe};
    }
    EXPECT_EQ(BulkIn(2, 1, buffer), 0) << "the pod has no endpoint 0x82";
    EXPECT_EQ(BulkOut(1, 8, nullptr), 0);
    buffer[0] = 9;
    EXPECT_EQ(BulkOut(1, 2, buffer), 1);
}

TEST_F(PodExportsTest, ControlTransfersUseTheLowSixteenBitsAndKeepTheirResult) {
    AttachPod(1);
    ASSERT_EQ(OpenPod(1), 1);
    uint8_t written[4] = {1, 2, 3, 4};
    sim->ClearRequests();
    EXPECT_EQ(ControlOut(0xA0, 0x10000, 0x10100, 4, written), 1);
    const auto sent = RequestsOf(request::ControlTransfer);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Header()->value, 0x0100);
    EXPECT_EQ(sent[0].Header()->index, 0);
    EXPECT_EQ(sent[0].Header()->requestType, 0x40);
    EXPECT_EQ(Pods().lastControlResult, 1);

    uint8_t read[4] = {};
    EXPECT_EQ(ControlIn(0xA0, 0, 0x0100, 4, read), 1);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 4), std::vector<uint8_t>(written, written + 4));
    EXPECT_EQ(ControlIn(0x33, 0, 0, 4, read), 0) << "the pod stalls unknown requests";
    EXPECT_EQ(Pods().lastControlResult, 0);
    EXPECT_EQ(ControlOut(0xA0, 0, 0x0100, 4, nullptr), 0);
}

TEST_F(PodExportsTest, ARemovedPodFailsEveryTransferWithoutACrash) {
    auto pod = AttachPod(1);
    ASSERT_EQ(InitializeKTLAPod(1), 1);
    sim->Remove(pod);
    uint8_t buffer[4] = {};
    EXPECT_EQ(BulkIn(1, 1, buffer), 0);
    EXPECT_EQ(ControlIn(0xA0, 0, 0, 4, buffer), 0);
    EXPECT_EQ(Reset8051(1), 4);
    uint32_t ids[4] = {};
    EXPECT_EQ(EnumeratePods(ids), 0);
    EXPECT_EQ(ClosePod(), 1);
}

} // namespace
} // namespace podtest
