// Descriptors a device may get wrong: the layer builds what fits its tables, reads nothing past
// what the device returned and never crashes; the exports turn what is unusable into failures.
#include "sim_fixture.h"
#include "unanswered_status.h"

#include "exports/podcore.h"
#include "usb/sim/descriptors.h"
#include "usb/usb_device.h"

#include <gtest/gtest.h>

#include <functional>

namespace podtest {
namespace {

using namespace podcore::usb;
using sim::Bytes;

Bytes Interface(uint8_t number, uint8_t setting, uint8_t endpoints) {
    return {9, 4, number, setting, endpoints, 0xFF, 0xFF, 0xFF, 0};
}

Bytes Endpoint(uint8_t address, uint8_t attributes = 2, uint16_t packet = 512) {
    return {
        7, 5, address, attributes, static_cast<uint8_t>(packet), static_cast<uint8_t>(packet >> 8),
        0};
}

// A configuration descriptor around `body`, its total length counted unless given.
Bytes Configuration(const std::vector<Bytes>& body, int totalLength = -1) {
    Bytes c = {9, 2, 0, 0, 1, 1, 0, 0x80, 50};
    for (const Bytes& part : body)
        c.insert(c.end(), part.begin(), part.end());
    const auto total = static_cast<uint16_t>(totalLength < 0 ? c.size() : totalLength);
    c[2] = static_cast<uint8_t>(total);
    c[3] = static_cast<uint8_t>(total >> 8);
    return c;
}

struct Case {
    const char* name;
    std::function<void(VirtualDevice&)> damage;
    std::function<void(UsbDevice&)> check;
};

class DescriptorTest : public SimTest {};

TEST_F(DescriptorTest, MalformedDescriptorsAreBuiltWithinLimitsOrRefused) {
    const Case cases[] = {
        {"truncated device descriptor", [](VirtualDevice& d) { d.deviceDescriptor.resize(10); },
         [](UsbDevice& u) { EXPECT_FALSE(u.IsOpen()); }},
        {"device descriptor of the wrong type", [](VirtualDevice& d) { d.deviceDescriptor[1] = 2; },
         [](UsbDevice& u) { EXPECT_FALSE(u.IsOpen()); }},
        {"configuration shorter than its header says it is",
         [](VirtualDevice& d) { d.configurations[0] = {9, 2, 5, 0, 1, 1, 0, 0x80, 50}; },
         [](UsbDevice& u) { EXPECT_FALSE(u.IsOpen()) << "no interface record"; }},
        {"total length beyond the bytes returned",
         [](VirtualDevice& d) {
             d.configurations[0] = Configuration({Interface(0, 0, 1), Endpoint(0x81)}, 4000);
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.RawConfiguration(0).size(), 25u);
             EXPECT_EQ(u.EndpointOf(0x81)->MaxPacketSize, 512u);
         }},
        {"zero-length descriptor stops the walk",
         [](VirtualDevice& d) {
             d.configurations[0] = Configuration(
                 {Interface(0, 0, 0), Bytes{0, 36, 1, 2}, Interface(0, 1, 1), Endpoint(0x81)});
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.Configuration(0)->RecordCount(), 1);
         }},
        {"descriptor longer than the configuration",
         [](VirtualDevice& d) {
             Bytes endpoint = Endpoint(0x81);
             endpoint[0] = 200;
             d.configurations[0] = Configuration({Interface(0, 0, 1), endpoint});
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_THROW(u.EndpointOf(0x81), UsbError) << "its slot stayed empty";
         }},
        {"more endpoints claimed than the slots hold",
         [](VirtualDevice& d) {
             std::vector<Bytes> body = {Interface(0, 0, 40)};
             for (uint8_t e = 1; e <= 20; ++e)
                 body.push_back(Endpoint(static_cast<uint8_t>(0x80 | e)));
             d.configurations[0] = Configuration(body);
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.EndpointCount(), 16);
             EXPECT_NE(u.EndpointOf(0x8F), nullptr);
             EXPECT_EQ(u.EndpointOf(0x90), nullptr) << "the 16th endpoint has no slot";
         }},
        {"fewer endpoints than claimed",
         [](VirtualDevice& d) {
             d.configurations[0] = Configuration({Interface(0, 0, 3), Endpoint(0x81)});
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.EndpointOf(0x81)->address, 0x81);
             EXPECT_THROW(u.EndpointOf(0x82), UsbError);
         }},
        {"endpoint with attribute bits beyond the transfer type",
         [](VirtualDevice& d) {
             d.configurations[0] =
                 Configuration({Interface(0, 0, 2), Endpoint(0x81, 0x42), Endpoint(0x82)});
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_THROW(u.EndpointOf(0x82), UsbError) << "slot 1 is empty";
             EXPECT_EQ(u.BulkInEndpoint->address, 0x82);
         }},
        {"endpoint descriptor too short for its fields",
         [](VirtualDevice& d) {
             d.configurations[0] =
                 Configuration({Interface(0, 0, 2), Bytes{3, 5, 0x81}, Endpoint(0x82)});
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_THROW(u.EndpointOf(0x82), UsbError);
         }},
        {"class descriptors before the endpoints",
         [](VirtualDevice& d) {
             std::vector<Bytes> body = {Interface(0, 0, 2)};
             for (int i = 0; i < 13; ++i)
                 body.push_back(Bytes{4, 0x24, 0, 0});
             body.push_back(Endpoint(0x81));
             body.push_back(Endpoint(0x82));
             d.configurations[0] = Configuration(body);
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             // Eleven are skipped freely; the next two use up both endpoint slots.
             EXPECT_THROW(u.EndpointOf(0x81), UsbError);
         }},
        {"more interface records than the table holds",
         [](VirtualDevice& d) {
             std::vector<Bytes> body;
             for (uint8_t s = 0; s < 12; ++s) {
                 body.push_back(Interface(0, s, 1));
                 body.push_back(Endpoint(static_cast<uint8_t>(0x81 + s)));
             }
             d.configurations[0] = Configuration(body);
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.Configuration(0)->RecordCount(), 8);
             EXPECT_TRUE(u.SetAltSetting(7));
             EXPECT_FALSE(u.SetAltSetting(8)) << "record 9 is beyond the table";
             EXPECT_EQ(u.Configuration(0)->Record(0)->RecordsWithSameNumber, 8);
         }},
        {"more configurations than the table holds",
         [](VirtualDevice& d) {
             d.deviceDescriptor[17] = 3;
             d.configurations = {d.configurations[0], d.configurations[0], d.configurations[0]};
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.ConfigurationCount(), 2);
         }},
        {"string descriptors that claim more than they hold",
         [](VirtualDevice& d) {
             d.strings[0] = {255, 3, 0x09};
             d.strings[1] = {255, 3, 'A', 0, 'B'};
             d.strings[2] = {1, 3};
         },
         [](UsbDevice& u) {
             ASSERT_TRUE(u.IsOpen());
             EXPECT_EQ(u.StringLanguage, 0);
             EXPECT_EQ(u.Manufacturer, u"A");
             EXPECT_EQ(u.Product, u"");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pod = AttachPod(3);
        WithDevice(*pod, [&](VirtualDevice& d) { c.damage(d); });
        UsbDevice device;
        c.check(device);
        device.Close();
        sim->Remove(pod);
    }
}

TEST_F(DescriptorTest, OnlyTheConfigurationsTheTableHoldsAreRequested) {
    auto pod = AttachPod(3);
    WithDevice(*pod, [](VirtualDevice& d) {
        d.deviceDescriptor[17] = 5;
        d.configurations.resize(5, d.configurations[0]);
    });
    UsbDevice device;
    for (const auto& entry : RequestsOf(request::ControlTransfer)) {
        const TransferRequest header = *entry.Header();
        if (header.value >> 8 == 2) {
            EXPECT_LT(header.value & 0xFF, 2) << "configuration index requested";
        }
    }
}

TEST_F(DescriptorTest, AnEmptySlotMetByTheExportsIsAFailureNotACrash) {
    auto pod = AttachPod(4);
    WithDevice(*pod, [](VirtualDevice& d) {
        d.configurations[0] = Configuration(
            {Interface(0, 0, 0), Interface(0, 1, 3), Endpoint(0x81, 7), Endpoint(0x86, 2, 512)});
    });
    ASSERT_EQ(InitializeKTLAPod(4), 1);
    uint8_t buffer[4] = {};
    EXPECT_EQ(BulkIn(6, sizeof buffer, buffer), 0);
    uint32_t ids[8] = {};
    EXPECT_EQ(NewEnumeratePods(ids), 0) << "a pod whose endpoints cannot be looked up is unusable";
    // The status endpoint's slot is empty too: the outputs are written all the same.
    ExpectUnansweredIdleStatus();
}

} // namespace
} // namespace podtest
