// CaptureStatus with no capture and a pod that does not answer: every one of the seven outputs is
// written (each preset to a value it never takes here), the pod's byte as 0xCC.
#pragma once

#include "exports/podcore.h"

#include <gtest/gtest.h>

namespace podtest {

inline void ExpectUnansweredIdleStatus() {
    uint8_t breaks = 0, running = 9, triggered = 9, full = 9;
    int32_t startP = -1, endP = -1, trigger = -1;
    EXPECT_EQ(CaptureStatus(&breaks, &running, &triggered, &startP, &endP, &trigger, &full), 0xCC);
    EXPECT_EQ(breaks, 0xCC);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(triggered, 0);
    EXPECT_EQ(startP, 0);
    EXPECT_EQ(endP, 0);
    EXPECT_EQ(trigger, 0);
    EXPECT_EQ(full, 0);
}

} // namespace podtest
