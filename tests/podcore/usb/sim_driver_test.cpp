// The virtual driver refuses what a kernel driver would refuse and the virtual pod behaves like
// the controller: memory loads, the reset register and its program's endpoints.
#include "sim_fixture.h"

#include "usb/firmware/firmware_image.h"
#include "usb/transfer_request.h"
#include "usb/usb_device.h"
#include "usb/usbd_status.h"

#include <gtest/gtest.h>

#include <functional>

namespace podtest {
namespace {

using namespace podcore::usb;

struct Submission {
    uint32_t code = request::DirectTransfer;
    TransferRequest header;
    uint32_t inLength = TransferRequest::kSize;
    uint32_t outLength = 64;
};

class SimDriverTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        pod = AttachPod(1);
        uint32_t error = 0;
        handle = sim->Open("sim:0", error);
        ASSERT_NE(handle, nullptr);
        uint8_t setting = 1;
        uint32_t returned = 0;
        ASSERT_EQ(handle->Request(request::SetAltSetting, &setting, 1, &setting, 1, returned),
                  error::Success);
    }

    uint32_t Submit(const Submission& s) {
        std::vector<uint8_t> in(std::max<uint32_t>(s.inLength, TransferRequest::kSize) + 64);
        s.header.EncodeTo(in.data());
        out.assign(s.outLength + 64, 0);
        return handle->Submit(s.code, in.data(), s.inLength, out.data(), s.outLength, overlapped);
    }

    std::shared_ptr<VirtualPod> pod;
    std::unique_ptr<DeviceHandle> handle;
    std::vector<uint8_t> out;
    Overlapped overlapped;
};

TEST_F(SimDriverTest, MalformedTransferRequestsAreRefused) {
    struct Case {
        const char* name;
        std::function<void(Submission&)> spoil;
        uint32_t expected;
    };
    TransferRequest bulk;
    bulk.endpointAddress = 0x01;
    const Case cases[] = {
        {"unknown request code", [](Submission& s) { s.code = 0x220099; }, error::InvalidFunction},
        {"header cut short", [](Submission& s) { s.inLength = 20; }, error::InvalidParameter},
        {"reserved byte set", [](Submission& s) { s.header.reserved = 1; },
         error::InvalidParameter},
        {"packet area on a bulk endpoint",
         [](Submission& s) {
             s.header.packetInfoOffset = 38;
             s.header.packetInfoLength = 8;
         },
         error::InvalidParameter},
        {"direct request with a data offset", [](Submission& s) { s.header.dataOffset = 38; },
         error::InvalidParameter},
        {"direct request with a longer header", [](Submission& s) { s.inLength = 60; },
         error::InvalidParameter},
        {"buffered request without its data offset",
         [](Submission& s) {
             s.code = request::BufferedTransfer;
             s.header.dataLength = 4;
             s.inLength = 42;
         },
         error::InvalidParameter},
        {"buffered data beyond the buffer",
         [](Submission& s) {
             s.code = request::BufferedTransfer;
             s.header.dataOffset = 38;
             s.header.dataLength = 100;
             s.inLength = 42;
             s.outLength = 42;
         },
         error::InvalidParameter},
        {"output smaller than the buffered request",
         [](Submission& s) {
             s.code = request::BufferedTransfer;
             s.header.dataOffset = 38;
             s.header.dataLength = 4;
             s.inLength = 42;
             s.outLength = 40;
         },
         error::InvalidParameter},
        {"endpoint outside the current setting",
         [](Submission& s) { s.header.endpointAddress = 0x82; }, error::InvalidParameter},
        {"control request to a data endpoint",
         [](Submission& s) {
             s.code = request::ControlTransfer;
             s.header.dataOffset = 38;
             s.inLength = 38;
         },
         error::InvalidParameter},
        {"control request whose setup length disagrees",
         [](Submission& s) {
             s.code = request::ControlTransfer;
             s.header.endpointAddress = 0;
             s.header.dataOffset = 38;
             s.header.dataLength = 2;
             s.header.length = 6;
             s.inLength = 40;
         },
         error::InvalidParameter},
    };
    for (const Case& c : cases) {
        Submission s;
        s.header = bulk;
        c.spoil(s);
        sim->ClearRequests();
        EXPECT_EQ(Submit(s), c.expected) << c.name;
        EXPECT_TRUE(overlapped.Done()) << c.name << ": a refused request is not in flight";
        ASSERT_EQ(sim->Requests().size(), 1u);
        EXPECT_EQ(sim->Requests()[0].result, c.expected) << c.name;
    }
    Submission fine;
    fine.header = bulk;
    fine.outLength = 2;
    EXPECT_EQ(Submit(fine), error::IoPending) << "the unspoilt request is accepted";
    EXPECT_TRUE(overlapped.Wait(1000));
}

TEST_F(SimDriverTest, SimpleRequestsCheckTheirBuffers) {
    uint8_t bytes[8] = {};
    uint32_t returned = 0;
    EXPECT_EQ(handle->Request(0x220098, bytes, 8, bytes, 8, returned), error::InvalidFunction);
    EXPECT_EQ(handle->Request(request::GetDriverVersion, bytes, 2, bytes, 2, returned),
              error::InsufficientBuffer);
    EXPECT_EQ(handle->Request(request::GetTransferSize, bytes, 3, bytes, 3, returned),
              error::InvalidParameter);
    bytes[0] = 5;
    EXPECT_EQ(handle->Request(request::SetAltSetting, bytes, 1, bytes, 1, returned),
              error::InvalidParameter)
        << "no setting 5";
    bytes[0] = 0x83;
    EXPECT_EQ(handle->Request(request::AbortPipe, bytes, 1, bytes, 1, returned),
              error::InvalidParameter)
        << "no endpoint 0x83";
    uint8_t header[TransferRequest::kSize] = {};
    EXPECT_EQ(handle->Request(request::DirectTransfer, header, sizeof header, bytes, 8, returned),
              error::InvalidParameter)
        << "transfers need an overlapped record";
    EXPECT_EQ(handle->Request(request::GetDriverVersion, bytes, 4, bytes, 4, returned),
              error::Success);
    EXPECT_EQ(returned, 4u);
}

TEST_F(SimDriverTest, PodRunsOnlyTheEmbeddedImageAfterItsRelease) {
    UsbDevice device;
    ControlEndpoint* control = device.Control();
    const auto load = [&](uint16_t address, const uint8_t* bytes, uint32_t length) {
        control->Request = 0xA0;
        control->Value = address;
        std::vector<uint8_t> copy(bytes, bytes + length);
        return control->Write(copy.data(), length);
    };
    const uint8_t hold = 1;
    const uint8_t run = 0;
    const uint8_t* image = firmware::EmbeddedImage();
    std::vector<uint8_t> other(image, image + firmware::kImageBytes);
    other[300] ^= 0xFF;

    ASSERT_TRUE(load(0xE600, &hold, 1));
    for (uint32_t at = 0; at < firmware::kImageBytes; at += 512)
        ASSERT_TRUE(load(static_cast<uint16_t>(at), other.data() + at, 512));
    ASSERT_TRUE(load(0xE600, &run, 1));
    WithDevice(*pod, [](VirtualPod& p) { EXPECT_FALSE(p.Running()); });

    ASSERT_TRUE(load(0xE600, &hold, 1));
    ASSERT_TRUE(load(256, image + 256, 512));
    WithDevice(*pod, [](VirtualPod& p) { EXPECT_TRUE(p.Held()); });
    ASSERT_TRUE(load(0xE600, &run, 1));
    WithDevice(*pod, [](VirtualPod& p) { EXPECT_TRUE(p.Running()); });

    uint8_t two[2] = {0, 1};
    EXPECT_FALSE(load(0xE600, two, 2)) << "the reset register is one byte";
    EXPECT_FALSE(load(8000, image, 512)) << "beyond program memory";
    WithDevice(*pod, [](VirtualPod& p) { p.faults.failFirmwareLoad = true; });
    EXPECT_FALSE(load(0, image, 512));
    EXPECT_EQ(control->UsbdStatus, usbd::StallPid);
}

TEST_F(SimDriverTest, AccessDeniedAndTheRequestLogIsBounded) {
    WithDevice(*pod, [](VirtualDevice& d) { d.faults.denyAccess = true; });
    uint32_t error = 0;
    EXPECT_EQ(sim->Open("sim:0", error), nullptr);
    EXPECT_EQ(error, error::AccessDenied);
    EXPECT_EQ(sim->Open("sim:7", error), nullptr);
    EXPECT_EQ(error, error::FileNotFound);

    uint8_t bytes[4] = {};
    uint32_t returned = 0;
    for (size_t i = 0; i < SimDriver::kLogCapacity + 10; ++i)
        handle->Request(request::GetDriverVersion, bytes, 4, bytes, 4, returned);
    EXPECT_EQ(sim->Requests().size(), SimDriver::kLogCapacity);
}

TEST_F(SimDriverTest, AHandleOutlivesTheDriverThatOpenedIt) {
    InstallDriver(std::make_unique<SimDriver>()); // the fixture's driver is gone
    sim = nullptr;
    uint8_t bytes[4] = {};
    uint32_t returned = 0;
    EXPECT_EQ(handle->Request(request::GetDriverVersion, bytes, 4, bytes, 4, returned),
              error::Success);
    EXPECT_EQ(returned, 4u);
}

TEST(SimDriverListTest, PodIdentifiersComeFromTheList) {
    const std::pair<const char*, size_t> cases[] = {
        {"5,9", 2}, {nullptr, 1}, {"", 1}, {"x,7,70000,", 1}, {"1,2,3", 3}};
    for (auto [list, count] : cases) {
        auto driver = podcore::usb::sim::MakeSimDriver(list);
        EXPECT_EQ(driver->InterfacePaths(kPodInterfaceClass).size(), count)
            << (list ? list : "null");
        EXPECT_TRUE(driver->InterfacePaths("{other class}").empty());
    }
}

} // namespace
} // namespace podtest
