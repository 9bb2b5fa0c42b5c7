// The libusb back end without a pod: the translation of requests and results, the hint on a
// refused open, and an empty bus.
#include "exports/podcore.h"
#include "usb/driver.h"
#include "usb/libusb/libusb_driver.h"
#include "usb/libusb/request_translation.h"
#include "usb/pod_state.h"
#include "usb/transfer_plan.h"
#include "usb/usbd_status.h"

#include <gtest/gtest.h>
#include <libusb.h>

#include <array>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace podcore::usb;

TEST(LibusbTranslationTest, ControlHeaderBecomesTheSetupPacket) {
    TransferRequest header;
    header.requestType = 0xC0;
    header.request = 0xA0;
    header.value = 0xE600;
    header.index = 0x1234;
    header.length = 0x0201;
    header.timeout = 5;
    EXPECT_EQ(libusb::SetupPacket(header),
              (std::array<uint8_t, 8>{0xC0, 0xA0, 0x00, 0xE6, 0x34, 0x12, 0x01, 0x02}));
    EXPECT_EQ(libusb::ControlTimeout(header), 5000u);
    header.timeout = 0;
    EXPECT_EQ(libusb::ControlTimeout(header), 0u) << "no limit";
    header.timeout = 0xFFFFFFFF;
    EXPECT_GT(libusb::ControlTimeout(header), 1000000u) << "clamped, not wrapped";
}

TEST(LibusbTranslationTest, TransferResultsBecomeSystemAndUsbdStatuses) {
    struct Case {
        int status;
        uint32_t systemError;
        uint32_t usbdStatus;
    };
    const Case cases[] = {
        {LIBUSB_TRANSFER_COMPLETED, error::Success, usbd::Success},
        {LIBUSB_TRANSFER_CANCELLED, error::OperationAborted, usbd::Canceled},
        {LIBUSB_TRANSFER_STALL, error::GenFailure, usbd::StallPid},
        {LIBUSB_TRANSFER_NO_DEVICE, error::DeviceNotConnected, usbd::DevNotResponding},
        {LIBUSB_TRANSFER_OVERFLOW, error::GenFailure, usbd::DataOverrun},
        {LIBUSB_TRANSFER_ERROR, error::GenFailure, usbd::DevNotResponding},
    };
    for (const Case& c : cases) {
        const libusb::Outcome outcome = libusb::TransferOutcome(c.status);
        EXPECT_EQ(outcome.systemError, c.systemError) << c.status;
        EXPECT_EQ(outcome.usbdStatus, c.usbdStatus) << c.status;
    }
    EXPECT_NE(libusb::TransferOutcome(LIBUSB_TRANSFER_TIMED_OUT).systemError, error::Success);
    EXPECT_EQ(libusb::SystemErrorOf(LIBUSB_SUCCESS), error::Success);
    EXPECT_EQ(libusb::SystemErrorOf(LIBUSB_ERROR_ACCESS), error::AccessDenied);
    EXPECT_EQ(libusb::SystemErrorOf(LIBUSB_ERROR_NO_DEVICE), error::DeviceNotConnected);
    EXPECT_NE(libusb::SystemErrorOf(LIBUSB_ERROR_OTHER), error::Success);
}

TEST(LibusbTranslationTest, TransferRequestsArePlannedOrRefusedAlike) {
    // A buffered control read: data follows the header, statuses land in the output header.
    std::array<uint8_t, TransferRequest::kSize + 4> request{};
    TransferRequest header;
    header.requestType = 0x80;
    header.request = 6;
    header.length = 4;
    header.dataOffset = TransferRequest::kSize;
    header.dataLength = 4;
    header.EncodeTo(request.data());
    uint32_t error = 0;
    auto plan = PlanTransfer(request::ControlTransfer, request.data(), request.size(),
                             request.data(), request.size(), error);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->control);
    EXPECT_TRUE(plan->deviceToHost);
    EXPECT_EQ(plan->data, request.data() + TransferRequest::kSize);
    EXPECT_EQ(plan->length, 4u);
    EXPECT_EQ(plan->reportedOffset, TransferRequest::kSize);

    // A direct bulk read: the caller's buffer takes the data, the input header the statuses.
    std::array<uint8_t, TransferRequest::kSize> direct{};
    TransferRequest bulk;
    bulk.endpointAddress = 0x88;
    bulk.EncodeTo(direct.data());
    std::array<uint8_t, 512> data{};
    plan = PlanTransfer(request::DirectTransfer, direct.data(), direct.size(), data.data(),
                        data.size(), error);
    ASSERT_TRUE(plan);
    EXPECT_FALSE(plan->control);
    EXPECT_TRUE(plan->deviceToHost);
    EXPECT_EQ(plan->data, data.data());
    EXPECT_EQ(plan->statusHeader, direct.data());
    EXPECT_EQ(plan->reportedOffset, 0u);

    EXPECT_FALSE(
        PlanTransfer(0x220030, direct.data(), direct.size(), data.data(), data.size(), error));
    EXPECT_EQ(error, error::InvalidFunction);
    EXPECT_FALSE(PlanTransfer(request::ControlTransfer, direct.data(), direct.size(), data.data(),
                              data.size(), error));
    EXPECT_EQ(error, error::InvalidParameter);
}

TEST(LibusbTranslationTest, RefusedAccessIsAFailureWithAOneLineHintNamingTheUdevRule) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(libusb::OpenFailure(LIBUSB_ERROR_ACCESS, "usb:1-2"), error::AccessDenied);
    const std::string hint = testing::internal::GetCapturedStderr();
    EXPECT_NE(hint.find("60-tarnwick-pod.rules"), std::string::npos);
    EXPECT_NE(hint.find("usb:1-2"), std::string::npos);
    EXPECT_EQ(hint.find('\n'), hint.size() - 1) << "one line";

    testing::internal::CaptureStderr();
    EXPECT_NE(libusb::OpenFailure(LIBUSB_ERROR_BUSY, "usb:1-2"), error::Success);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the hint is about permission only";
}

// Runs wherever the tests run; it finds no pod unless one is plugged in with access granted.
TEST(LibusbDriverTest, WithoutAPodNothingIsListedAndOpeningFails) {
    auto driver = libusb::MakeLibusbDriver();
    const auto paths = driver->InterfacePaths(kPodInterfaceClass);
    if (!paths.empty())
        GTEST_SKIP() << "a pod is attached";
    EXPECT_TRUE(driver->InterfacePaths("{other class}").empty());
    uint32_t error = 0;
    EXPECT_EQ(driver->Open("usb:1-1", error), nullptr);
    EXPECT_NE(error, error::Success);

    ResetPods();
    InstallDriver(std::move(driver));
    const auto state = std::filesystem::temp_directory_path() / "podcore-libusb-test";
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    uint32_t ids[4] = {};
    EXPECT_EQ(EnumeratePods(ids), 0);
    EXPECT_EQ(NewEnumeratePods(ids), 0);
    EXPECT_EQ(InitializeKTLAPod(1), 0);
    EXPECT_EQ(BulkIn(1, 4, reinterpret_cast<uint8_t*>(ids)), 0);
    ResetPods();
    std::filesystem::remove_all(state);
}

} // namespace
