// The device and endpoint layer against the virtual driver: descriptors, settings, the request
// each operation sends, and synchronous and overlapped transfers with their failures.
#include "sim_fixture.h"

#include "usb/sim/descriptors.h"
#include "usb/usb_device.h"
#include "usb/usbd_status.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <thread>

namespace podtest {
namespace {

using namespace podcore::usb;

std::vector<uint8_t> Pattern(size_t count, uint8_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

class UsbLayerTest : public SimTest {
protected:
    std::unique_ptr<UsbDevice> OpenStreaming() {
        auto device = std::make_unique<UsbDevice>();
        EXPECT_TRUE(device->IsOpen());
        EXPECT_TRUE(device->SetAltSetting(1));
        return device;
    }
};

TEST_F(UsbLayerTest, OpenReadsDescriptorsAndSettingOneCarriesThePodEndpoints) {
    AttachPod(5);
    UsbDevice device;
    ASSERT_TRUE(device.IsOpen());
    EXPECT_EQ(device.DeviceCount(), 1);
    EXPECT_EQ(device.BcdDevice, 5);
    EXPECT_EQ(device.Manufacturer, u"Tarnwick");
    EXPECT_EQ(device.Product, u"Tarnwick Logic Analyzer Pod");
    EXPECT_EQ(device.StringLanguage, 0x0409);
    EXPECT_EQ(device.DriverVersion, 0x01050500u);
    EXPECT_EQ(device.MaxPacketSize0, 64);
    EXPECT_EQ(device.BusAddress, 1);
    EXPECT_FALSE(device.DeviceName.empty());
    ASSERT_EQ(device.ConfigurationCount(), 1);
    EXPECT_EQ(device.Configuration(0)->RecordCount(), 2);
    EXPECT_EQ(device.Configuration(0)->Record(1)->RecordsWithSameNumber, 2);

    EXPECT_EQ(device.GetAltSetting(), 0);
    EXPECT_EQ(device.EndpointCount(), 1);
    EXPECT_EQ(device.EndpointOf(0), device.Control());
    EXPECT_EQ(device.EndpointOf(0x86), nullptr);

    EXPECT_FALSE(device.SetAltSetting(3)) << "no record has setting 3";
    ASSERT_TRUE(device.SetAltSetting(1));
    EXPECT_EQ(device.GetAltSetting(), 1);
    EXPECT_EQ(device.EndpointCount(), 5);
    ASSERT_NE(device.EndpointOf(0x86), nullptr);
    EXPECT_EQ(device.EndpointOf(0x86)->MaxPacketSize, 512u);
    EXPECT_TRUE(device.EndpointOf(0x88)->IsIn);
    EXPECT_EQ(device.BulkInEndpoint->address, 0x81);
    EXPECT_EQ(device.BulkOutEndpoint->address, 0x01);
    EXPECT_EQ(device.InterruptInEndpoint, nullptr);

    sim->ClearRequests();
    EXPECT_TRUE(device.SetAltSetting(1));
    EXPECT_TRUE(RequestsOf(request::SetAltSetting).empty()) << "the setting was current already";

    device.Close();
    EXPECT_EQ(device.EndpointCount(), 0);
    EXPECT_EQ(device.EndpointOf(0), nullptr);
    EXPECT_EQ(device.GetAltSetting(), 255);
}

TEST_F(UsbLayerTest, OpenOfAMissingIndexFailsAndAnEmptyDriverHasNoDevices) {
    UsbDevice none;
    EXPECT_FALSE(none.IsOpen());
    EXPECT_EQ(none.DeviceCount(), 0);
    EXPECT_EQ(none.EndpointCount(), 0);
    AttachPod(1);
    UsbDevice device;
    EXPECT_FALSE(device.Open(1));
    EXPECT_FALSE(device.Open(-1));
    EXPECT_TRUE(device.Open(0));
}

TEST_F(UsbLayerTest, StringLanguagePrefersUsEnglishAmongThoseListed) {
    struct Case {
        std::vector<uint16_t> listed;
        uint16_t chosen;
    };
    const Case cases[] = {
        {{0x0407, 0x0409}, 0x0409}, {{0x0407}, 0x0407}, {{}, 0}, {{0x0409, 0x0407}, 0x0409}};
    for (const Case& c : cases) {
        auto pod = AttachPod(2);
        WithDevice(*pod,
                   [&](VirtualDevice& d) { d.strings[0] = sim::LanguageDescriptor(c.listed); });
        UsbDevice device;
        ASSERT_TRUE(device.IsOpen());
        EXPECT_EQ(device.StringLanguage, c.chosen) << c.listed.size() << " languages";
        sim->Remove(pod);
    }
}

TEST_F(UsbLayerTest, SetTransferSizeRoundsUpToWholePackets) {
    AttachPod(1);
    auto device = OpenStreaming();
    UsbEndpoint* endpoint = device->EndpointOf(0x86);
    const std::pair<uint32_t, uint32_t> cases[] = {
        {65536, 65536}, {1000, 1024}, {512, 512}, {1, 512}, {0, 0}};
    for (auto [asked, sent] : cases) {
        sim->ClearRequests();
        endpoint->SetTransferSize(asked);
        const auto requests = RequestsOf(request::SetTransferSize);
        ASSERT_EQ(requests.size(), 1u);
        ASSERT_EQ(requests[0].input.size(), 5u);
        EXPECT_EQ(requests[0].input[0], 0x86);
        uint32_t size = 0;
        std::memcpy(&size, &requests[0].input[1], 4);
        EXPECT_EQ(size, sent) << "asked " << asked;
        EXPECT_EQ(endpoint->GetTransferSize(), sent);
    }
}

TEST_F(UsbLayerTest, TransfersAreBufferedBelowDriverVersion010505AndDirectFromIt) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0x01050400, request::BufferedTransfer},
                                                   {0x01050500, request::DirectTransfer},
                                                   {0x02000000, request::DirectTransfer},
                                                   {0, request::BufferedTransfer}};
    for (auto [version, code] : cases) {
        auto pod = AttachPod(1);
        WithDevice(*pod, [&](VirtualDevice& d) { d.driverVersion = version; });
        auto device = OpenStreaming();
        const auto sent = Pattern(1024, 3);
        WithDevice(*pod, [&](VirtualPod& p) { p.MainStream().Feed(sent.data(), sent.size()); });
        sim->ClearRequests();
        std::vector<uint8_t> received(1024);
        uint32_t length = 1024;
        EXPECT_TRUE(device->EndpointOf(0x88)->TransferData(received.data(), length));
        EXPECT_EQ(length, 1024u);
        EXPECT_EQ(received, sent) << std::hex << version;
        EXPECT_EQ(RequestsOf(code).size(), 1u) << std::hex << version;
        EXPECT_EQ(device->EndpointOf(0x88)->DirectTransfers, code == request::DirectTransfer);
        device.reset();
        sim->Remove(pod);
    }
}

TEST_F(UsbLayerTest, IsochronousRequestsCarryAPacketAreaThatPodDriversRefuse) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0x01050500, request::DirectTransfer},
                                                   {0x01000000, request::BufferedTransfer}};
    for (auto [version, code] : cases) {
        auto device = sim->Attach(std::make_shared<VirtualDevice>(
            sim::DeviceDescriptor(0x1209, 0x0003, 1, 1),
            std::vector<sim::Bytes>{sim::ConfigurationDescriptor({{0, 0, {{0x83, 1, 512}}}})},
            std::map<uint8_t, sim::Bytes>{}));
        WithDevice(*device, [&](VirtualDevice& d) { d.driverVersion = version; });
        UsbDevice usb;
        ASSERT_EQ(usb.IsocInEndpoint, usb.EndpointOf(0x83));
        sim->ClearRequests();
        std::vector<uint8_t> data(1000);
        std::vector<uint8_t> packets(16, 0xEE);
        uint32_t length = 1000;
        EXPECT_FALSE(usb.IsocInEndpoint->TransferData(data.data(), length, packets.data()));
        const auto sent = RequestsOf(code);
        ASSERT_EQ(sent.size(), 1u);
        const TransferRequest header = *sent[0].Header();
        EXPECT_EQ(header.packetInfoOffset, TransferRequest::kSize);
        EXPECT_EQ(header.packetInfoLength, 16u) << "two packets of 512 bytes hold 1000";
        const bool buffered = code == request::BufferedTransfer;
        EXPECT_EQ(header.dataOffset, buffered ? TransferRequest::kSize + 16 : 0);
        EXPECT_EQ(sent[0].inputLength, TransferRequest::kSize + 16 + (buffered ? 1000 : 0));
        EXPECT_EQ(sent[0].result, error::InvalidParameter);

        sim->ClearRequests();
        length = 0;
        EXPECT_FALSE(usb.IsocInEndpoint->TransferData(data.data(), length));
        EXPECT_TRUE(sim->Requests().empty()) << "no packet, no request";
        usb.Close();
        sim->Remove(device);
    }
}

TEST_F(UsbLayerTest, ControlTimeoutIsSentInWholeSecondsWithShortOnesRoundedUpToOne) {
    AttachPod(1);
    UsbDevice device;
    ControlEndpoint* control = device.Control();
    const std::pair<uint32_t, uint32_t> cases[] = {{500, 1}, {10000, 10}, {0, 0},   {1, 1},
                                                   {999, 1}, {1000, 1},   {2500, 2}};
    for (auto [milliseconds, seconds] : cases) {
        sim->ClearRequests();
        control->Timeout = milliseconds;
        control->Request = 0xA0;
        control->Value = 0x0100;
        uint8_t bytes[4] = {};
        uint32_t length = sizeof bytes;
        EXPECT_TRUE(control->Read(bytes, length));
        const auto requests = RequestsOf(request::ControlTransfer);
        ASSERT_EQ(requests.size(), 1u);
        const TransferRequest header = *requests[0].Header();
        EXPECT_EQ(header.timeout, seconds) << milliseconds << " ms";
        EXPECT_EQ(header.requestType, 0xC0) << "vendor request to the device, device to host";
        EXPECT_EQ(header.dataOffset, TransferRequest::kSize);
        EXPECT_EQ(header.length, 4);
    }
}

TEST_F(UsbLayerTest, OverlappedTransfersCompleteInOrderAsTheDeviceDeliversData) {
    auto pod = AttachPod(1);
    auto device = OpenStreaming();
    UsbEndpoint* endpoint = device->EndpointOf(0x88);
    constexpr int kTransfers = 16;
    constexpr uint32_t kBytes = 4096;
    std::vector<std::vector<uint8_t>> buffers(kTransfers, std::vector<uint8_t>(kBytes));
    std::vector<Overlapped> overlapped(kTransfers);
    std::vector<std::unique_ptr<PendingTransfer>> requests;
    for (int i = 0; i < kTransfers; ++i)
        requests.push_back(endpoint->BeginTransfer(buffers[i].data(), kBytes, overlapped[i]));
    EXPECT_EQ(endpoint->LastError, error::IoPending);
    EXPECT_FALSE(endpoint->WaitForTransfer(overlapped[0], 10)) << "no data yet";

    const auto sent = Pattern(kTransfers * kBytes, 11);
    std::thread feeder([&] {
        for (size_t at = 0; at < sent.size(); at += 1000)
            WithDevice(*pod, [&](VirtualPod& p) {
                p.MainStream().Feed(sent.data() + at, std::min<size_t>(1000, sent.size() - at));
            });
    });
    for (int i = 0; i < kTransfers; ++i) {
        ASSERT_TRUE(endpoint->WaitForTransfer(overlapped[i], 5000)) << i;
        uint32_t length = kBytes;
        ASSERT_TRUE(endpoint->FinishTransfer(buffers[i].data(), length, overlapped[i],
                                             std::move(requests[i])));
        EXPECT_EQ(length, kBytes);
        EXPECT_TRUE(std::equal(buffers[i].begin(), buffers[i].end(), sent.begin() + i * kBytes))
            << "transfer " << i;
    }
    feeder.join();
}

TEST_F(UsbLayerTest, TwoThreadsStreamTheirOwnEndpointsAtOnce) {
    auto pod = AttachPod(1);
    auto device = OpenStreaming();
    constexpr int kRounds = 64;
    constexpr uint32_t kBytes = 2048;
    std::atomic<bool> failed{false};
    const auto stream = [&](uint8_t address) {
        UsbEndpoint* endpoint = device->EndpointOf(address);
        std::vector<uint8_t> buffer(kBytes);
        for (int round = 0; round < kRounds; ++round) {
            uint32_t length = kBytes;
            endpoint->Timeout = 5000;
            if (!endpoint->TransferData(buffer.data(), length) || length != kBytes ||
                buffer[0] != static_cast<uint8_t>(round))
                failed = true;
        }
    };
    std::thread main(stream, 0x88);
    std::thread aux(stream, 0x86);
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<uint8_t> block(kBytes, static_cast<uint8_t>(round));
        // Feeds only as fast as the FIFOs drain, as a device paced by its host would.
        for (bool fed = false; !fed;) {
            WithDevice(*pod, [&](VirtualPod& p) {
                if (p.MainStream().Buffered() == 0 && p.AuxStream().Buffered() == 0) {
                    p.MainStream().Feed(block.data(), kBytes);
                    p.AuxStream().Feed(block.data(), kBytes);
                    fed = true;
                }
            });
            if (!fed)
                std::this_thread::yield();
        }
    }
    main.join();
    aux.join();
    EXPECT_FALSE(failed);
}

TEST_F(UsbLayerTest, TimedOutTransferIsAbortedAndFails) {
    AttachPod(1); // its processor is held: the status endpoint never answers
    auto device = OpenStreaming();
    UsbEndpoint* status = device->EndpointOf(0x81);
    status->Timeout = 30;
    uint8_t byte = 0xCC;
    uint32_t length = 1;
    EXPECT_FALSE(status->TransferData(&byte, length));
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(byte, 0xCC);
    EXPECT_EQ(status->UsbdStatus, usbd::Canceled);
    EXPECT_EQ(RequestsOf(request::AbortPipe).size(), 1u);
}

TEST_F(UsbLayerTest, ZeroAndOversizedLengthsAreHandledWithoutTouchingTheRequest) {
    auto pod = AttachPod(1);
    for (uint32_t version : {0x01050500u, 0x01000000u}) {
        WithDevice(*pod, [&](VirtualDevice& d) { d.driverVersion = version; });
        auto device = OpenStreaming();
        UsbEndpoint* endpoint = device->EndpointOf(0x88);
        endpoint->Timeout = 1000;
        uint32_t length = 0;
        EXPECT_TRUE(endpoint->TransferData(nullptr, length)) << std::hex << version;
        EXPECT_EQ(length, 0u);

        Overlapped overlapped;
        uint8_t byte = 0;
        auto request = endpoint->BeginTransfer(&byte, 0xFFFFFFF0u, overlapped);
        if (version < UsbDevice::kDirectTransferDriverVersion) {
            EXPECT_EQ(request, nullptr) << "a buffered request that large cannot be built";
            EXPECT_EQ(endpoint->LastError, error::InvalidParameter);
        } else {
            EXPECT_TRUE(endpoint->Abort()) << "the direct request waits for its data";
            length = 0xFFFFFFF0u;
            EXPECT_FALSE(endpoint->FinishTransfer(&byte, length, overlapped, std::move(request)));
        }
    }
}

TEST_F(UsbLayerTest, ASilentEndpointTimesOutWhileTheOthersAnswer) {
    auto pod = AttachPod(1);
    auto device = OpenStreaming();
    const auto bytes = Pattern(1024, 5);
    WithDevice(*pod, [&](VirtualPod& p) {
        p.faults.silentEndpoints = {0x88};
        p.MainStream().Feed(bytes.data(), bytes.size());
        p.AuxStream().Feed(bytes.data(), bytes.size());
    });
    std::vector<uint8_t> buffer(1024);
    uint32_t length = 1024;
    device->EndpointOf(0x88)->Timeout = 30;
    EXPECT_FALSE(device->EndpointOf(0x88)->TransferData(buffer.data(), length));
    EXPECT_EQ(length, 0u);
    length = 1024;
    EXPECT_TRUE(device->EndpointOf(0x86)->TransferData(buffer.data(), length));
    EXPECT_EQ(buffer, bytes);
}

TEST_F(UsbLayerTest, AbortCompletesEveryOutstandingTransferAsCanceled) {
    AttachPod(1);
    auto device = OpenStreaming();
    UsbEndpoint* endpoint = device->EndpointOf(0x86);
    std::vector<uint8_t> buffer(4 * 512);
    Overlapped overlapped[4];
    std::unique_ptr<PendingTransfer> requests[4];
    for (int i = 0; i < 4; ++i)
        requests[i] = endpoint->BeginTransfer(buffer.data() + i * 512, 512, overlapped[i]);
    EXPECT_TRUE(endpoint->Abort());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(endpoint->WaitForTransfer(overlapped[i], 0));
        uint32_t length = 512;
        EXPECT_FALSE(
            endpoint->FinishTransfer(buffer.data(), length, overlapped[i], std::move(requests[i])));
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(endpoint->UsbdStatus, usbd::Canceled);
        EXPECT_EQ(endpoint->SystemStatus, error::OperationAborted);
    }
    EXPECT_TRUE(endpoint->Reset());
}

TEST_F(UsbLayerTest, ShortAndOddLengthTransfersReportTheBytesMoved) {
    auto pod = AttachPod(1);
    auto device = OpenStreaming();
    WithDevice(*pod, [](VirtualPod& p) {
        p.faults.shortTransferBytes = 511;
        const auto bytes = Pattern(1000, 1);
        p.MainStream().Feed(bytes.data(), bytes.size());
    });
    std::vector<uint8_t> buffer(4096);
    uint32_t length = 4096;
    EXPECT_TRUE(device->EndpointOf(0x88)->TransferData(buffer.data(), length));
    EXPECT_EQ(length, 511u);
    EXPECT_EQ(device->EndpointOf(0x88)->BytesTransferred, 511u);
}

TEST_F(UsbLayerTest, RemovalCompletesOutstandingTransfersAndLaterRequestsFail) {
    auto pod = AttachPod(1);
    auto device = OpenStreaming();
    UsbEndpoint* endpoint = device->EndpointOf(0x88);
    std::vector<uint8_t> buffer(4096);
    Overlapped overlapped;
    auto request = endpoint->BeginTransfer(buffer.data(), 4096, overlapped);
    sim->Remove(pod);
    EXPECT_TRUE(endpoint->WaitForTransfer(overlapped, 1000));
    uint32_t length = 4096;
    EXPECT_FALSE(endpoint->FinishTransfer(buffer.data(), length, overlapped, std::move(request)));
    EXPECT_EQ(endpoint->SystemStatus, error::DeviceNotConnected);
    length = 4096;
    EXPECT_FALSE(endpoint->TransferData(buffer.data(), length));
    EXPECT_EQ(endpoint->LastError, error::DeviceNotConnected);
    EXPECT_EQ(device->GetAltSetting(), 255);
}

TEST_F(UsbLayerTest, UnresponsivePodFailsControlTransfersAfterTheTimeout) {
    auto pod = AttachPod(1);
    UsbDevice device;
    WithDevice(*pod, [](VirtualDevice& d) { d.faults.unresponsive = true; });
    ControlEndpoint* control = device.Control();
    control->Timeout = 20;
    control->Request = 0xA0;
    uint8_t byte = 0;
    uint32_t length = 1;
    EXPECT_FALSE(control->Read(&byte, length));
    EXPECT_EQ(RequestsOf(request::AbortPipe).size(), 1u);
}

TEST_F(UsbLayerTest, DroppingOrClosingWithTransfersInFlightLeavesNoWriteBehind) {
    auto pod = AttachPod(1);
    auto device = OpenStreaming();
    auto buffer = std::make_unique<std::vector<uint8_t>>(4096);
    Overlapped dropped;
    auto request = device->EndpointOf(0x88)->BeginTransfer(buffer->data(), 4096, dropped);
    request.reset(); // aborts and waits: the buffer may go now
    buffer.reset();

    std::vector<uint8_t> kept(4096);
    Overlapped pending;
    auto outstanding = device->EndpointOf(0x86)->BeginTransfer(kept.data(), 4096, pending);
    device->Close();
    EXPECT_TRUE(pending.Done());
    const auto bytes = Pattern(8192, 0);
    WithDevice(*pod, [&](VirtualPod& p) { p.AuxStream().Feed(bytes.data(), bytes.size()); });
    EXPECT_EQ(kept, std::vector<uint8_t>(4096)) << "no data may arrive after the close";
}

TEST(UsbdStatusTextTest, NamesStateAndStatus) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0x00000000, "[state=SUCCESS status=USBD_STATUS_SUCCESS]"},
        {0x40000000, "[state=SUCCESS status=USBD_STATUS_SUCCESS]"},
        {0xC0000004, " [state=STALLED status=USBD_STATUS_STALL_PID]"},
        {0x80000005, " [state=ERROR   status=USBD_STATUS_DEV_NOT_RESPONDING]"},
        {0x40000030, " [state=PENDING status=USBD_STATUS_ENDPOINT_HALTED]"},
        {0x00000D00, " [state=SUCCESS status=USBD_STATUS_FRAME_CONTROL_NOT_OWNED]"},
        {0x0000000C, " [state=SUCCESS status=USBD_STATUS_BUFFER_OVERRUN]"},
        {0x1000000C, "status=UNKNOWN]"},
        {0xC0000E00, " [state=STALLED status=UNKNOWN]"},
        {0x80000300, " [state=ERROR   status=UNKNOWN]"},
    };
    for (auto [status, text] : cases)
        EXPECT_EQ(UsbdStatusText(status), text) << std::hex << status;
}

} // namespace
} // namespace podtest
