// When the processor calls a program waiting: only when it loops without any change, never in
// a loop that is still counting, and no longer once what it waits for has changed.
#include "usb/sim/pod_processor.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace podtest {
namespace {

using podcore::usb::sim::PodController;
using podcore::usb::sim::PodProcessor;

void Load(PodController& controller, const std::vector<uint8_t>& program) {
    controller.HostWriteReset(1);
    ASSERT_TRUE(controller.HostWrite(0, program));
    controller.HostWriteReset(0);
}

TEST(PodProcessorTest, AProgramWaitsOnItsInputAndGoesOnWhenItChanges) {
    PodController controller;
    PodProcessor processor(controller);
    EXPECT_TRUE(processor.Run(100).waiting) << "held from power-on";
    EXPECT_EQ(processor.Executed(), 0u);

    // MOV OEC,#0FFh; loop: JNB PA1,loop; MOV IOC,#42h; SJMP $
    Load(controller, {0x75, 0xB4, 0xFF, 0x30, 0x81, 0xFD, 0x75, 0xA0, 0x42, 0x80, 0xFE});
    const PodProcessor::Slice polling = processor.Run(10000);
    EXPECT_TRUE(polling.waiting);
    EXPECT_LT(polling.executed, 100u);
    EXPECT_EQ(controller.DivisorPins(), 0);

    controller.SetOverflowPin(true);
    EXPECT_TRUE(processor.Run(10000).waiting) << "and waits again at its end";
    EXPECT_EQ(controller.DivisorPins(), 0x42);
}

TEST(PodProcessorTest, AProgramThatKeepsChangingMemoryNeverWaits) {
    PodController controller;
    PodProcessor processor(controller);
    // MOV DPTR,#0E000h; loop: INC A; MOVX @DPTR,A; SJMP loop
    Load(controller, {0x90, 0xE0, 0x00, 0x04, 0xF0, 0x80, 0xFC});
    const PodProcessor::Slice busy = processor.Run(100000);
    EXPECT_FALSE(busy.waiting);
    EXPECT_EQ(busy.executed, 100000u);
}

TEST(PodProcessorTest, ADelayLoopIsNotTakenForWaiting) {
    PodController controller;
    PodProcessor processor(controller);
    // MOV R6,#200; loop: DJNZ R7,loop; DJNZ R6,loop; MOV OEC,#0FFh; MOV IOC,#42h; SJMP $
    Load(controller,
         {0x7E, 200, 0xDF, 0xFE, 0xDE, 0xFC, 0x75, 0xB4, 0xFF, 0x75, 0xA0, 0x42, 0x80, 0xFE});
    int slices = 0;
    while (!processor.Run(10000).waiting && ++slices < 100) {
    }
    EXPECT_EQ(controller.DivisorPins(), 0x42) << "it waits only at the end";
    EXPECT_GT(processor.Executed(), 200u * 256);
}

// Images from outside may be anything: whatever their bytes do, the processor and the
// controller stay within their memories and the host keeps its hold on the pod.
TEST(PodProcessorTest, AnyImageRunsWithoutHarm) {
    std::mt19937 random(20);
    for (int image = 0; image < 20; ++image) {
        SCOPED_TRACE(image);
        PodController controller;
        PodProcessor processor(controller);
        std::vector<uint8_t> bytes(PodController::kProgramBytes);
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(random());
        Load(controller, bytes);
        for (int slice = 0; slice < 20; ++slice)
            processor.Run(10000);
        controller.HostWriteReset(1);
        EXPECT_FALSE(controller.RunPin());
        EXPECT_TRUE(processor.Run(10000).waiting) << "held";
    }
}

} // namespace
} // namespace podtest
