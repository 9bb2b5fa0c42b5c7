// How many samples the virtual pod's front end delivers in a span of host time: its rate, the
// time scale, and the ceiling that keeps a slowed host's captures within what it stores.
#include "usb/sim/sampling_front_end.h"
#include "usb/transfer_request.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using namespace podcore::usb::sim;
using std::chrono::milliseconds;

TEST(SamplingFrontEndTest, SamplesDeliveredFollowTheRateTheTimeScaleAndTheCeiling) {
    struct Case {
        const char* what;
        uint8_t divisor;
        double timeScale;
        double fastest;
        uint64_t samples; // in 10 ms of host time
    };
    const Case cases[] = {
        {"24 M, no ceiling", 1, 1.0, 0, 240000},
        {"2 M, under the ceiling", 23, 1.0, 2e6, 20000},
        {"24 M, held to the ceiling", 1, 1.0, 2e6, 20000},
        {"24 M slowed below the ceiling", 1, 0.05, 2e6, 12000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceFaults faults;
        StreamInEndpoint main(0x88, faults, 1 << 20), aux(0x86, faults, 1 << 20);
        main.SetSampling(true);
        aux.SetSampling(true);
        std::vector<uint8_t> mainData(1 << 20), auxData(1 << 20);
        std::array<uint8_t, podcore::usb::TransferRequest::kSize> mainHeader{}, auxHeader{};
        podcore::usb::Overlapped mainDone, auxDone;
        main.Submit({nullptr, mainData.data(), 1 << 20, mainHeader.data(), 0, &mainDone, 0});
        aux.Submit({nullptr, auxData.data(), 1 << 20, auxHeader.data(), 0, &auxDone, 0});

        SamplingSettings settings;
        settings.busBytesPerSecond = 1e12;
        settings.fifoBytes = 1 << 20;
        settings.timeScale = c.timeScale;
        settings.fastestSamplesPerSecond = c.fastest;
        const auto start = SamplingFrontEnd::Clock::now();
        SamplingFrontEnd frontEnd(settings, c.divisor, main, aux, start);
        frontEnd.CatchUp(start + milliseconds(10));
        EXPECT_EQ((1u << 20) - main.Room(), 2 * c.samples) << "two bytes a sample";
        EXPECT_EQ((1u << 20) - aux.Room(), c.samples / 2) << "a byte every second sample";
        EXPECT_FALSE(frontEnd.Overflowed());
    }
}

} // namespace
