#include "app/acquisition_cycle.h"
#include "app/virtual_pod_option.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace norrik {
namespace {

TEST(PostTriggerSamples, LeavesTheShareAfterTheTriggerPlusOneBlockInWholeBlocks) {
    struct Case {
        int32_t buffer;
        int position;
        int32_t expected;
    };
    const Case cases[] = {
        {1048576, 10, 983040},
        {1048576, 50, 589824},
        {1048576, 90, 131072},
        // 8 million samples at 37 %: 5078384.64 + 65536 rounds to 5143921, then whole blocks.
        {8060928, 37, 5111808},
        // A buffer below one block still asks for the one block the library needs.
        {0, 50, 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buffer);
        SCOPED_TRACE(c.position);
        const int32_t samples = PostTriggerSamples(c.buffer, c.position);
        EXPECT_EQ(samples, c.expected);
        EXPECT_EQ(samples % 65536, 0);
    }
}

TEST(ClockingMode, InternalClockIsTwoWhateverTheExternalSettings) {
    for (uint8_t edge : {0, 1})
        for (uint8_t qualifier : {0, 1, 2})
            EXPECT_EQ(ClockingMode(false, edge, qualifier), 2u);
}

TEST(ClockingMode, ExternalClockCombinesEdgeAndQualifier) {
    struct Case {
        uint8_t edge;
        uint8_t qualifier;
        uint32_t mode;
    };
    const Case cases[] = {{0, 0, 4}, {1, 0, 5}, {0, 1, 6}, {1, 1, 7}, {0, 2, 8}, {1, 2, 9}};
    for (const Case& c : cases)
        EXPECT_EQ(ClockingMode(true, c.edge, c.qualifier), c.mode)
            << int(c.edge) << int(c.qualifier);
}

TEST(FillDemoCaptureStatus, ReportsAFinishedCaptureWithTheTriggerAtThePositionsShare) {
    AppState state;
    state.BufferSamples = 1048576;
    state.CapBreaks = 9;
    state.CapRunning = 1;
    FillDemoCaptureStatus(state, 30);
    EXPECT_EQ(state.CapBreaks, 0);
    EXPECT_EQ(state.CapRunning, 0);
    EXPECT_EQ(state.CapTriggered, 255);
    EXPECT_EQ(state.CapStartP, 0);
    EXPECT_EQ(state.CapEndP, 1048576);
    EXPECT_EQ(state.TriggerSample, 314573); // 314572.8, to the nearest
    EXPECT_EQ(state.CapFull, 100);

    state.BufferSamples = 65538; // 0.25 x 65538 = 16384.5: the half goes to the even neighbour
    FillDemoCaptureStatus(state, 25);
    EXPECT_EQ(state.TriggerSample, 16384);
}

TEST(PodWatchChangeOf, ArrivalAndRemovalFollowTheAttachedFlag) {
    struct Case {
        bool wasAttached;
        int32_t pods;
        PodWatchChange change;
    };
    const Case cases[] = {
        {false, 1, PodWatchChange::Arrival}, {false, 3, PodWatchChange::Arrival},
        {false, 0, PodWatchChange::None},    {false, -1, PodWatchChange::None},
        {true, 0, PodWatchChange::Removal},  {true, -1, PodWatchChange::Removal},
        {true, 2, PodWatchChange::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.change, PodWatchChangeOf(c.wasAttached, c.pods)) << c.wasAttached << c.pods;
}

std::optional<std::string> RequestOf(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "norrik");
    return VirtualPodRequest(static_cast<int>(arguments.size()), arguments.data());
}

TEST(VirtualPodRequest, ReadsTheOptionWithAndWithoutIdentifiers) {
    EXPECT_EQ(RequestOf({}), std::nullopt);
    EXPECT_EQ(RequestOf({"--virtual-pod"}), "1");
    EXPECT_EQ(RequestOf({"--virtual-pod=5,9"}), "5,9");
    EXPECT_EQ(RequestOf({"--virtual-pod=5", "--virtual-pod=9"}), "9");
    EXPECT_EQ(RequestOf({"-style", "fusion", "--virtual-pod=2"}), "2");
    // Look-alikes are not the option.
    EXPECT_EQ(RequestOf({"--virtual-pods"}), std::nullopt);
    EXPECT_EQ(RequestOf({"virtual-pod"}), std::nullopt);
}

} // namespace
} // namespace norrik
