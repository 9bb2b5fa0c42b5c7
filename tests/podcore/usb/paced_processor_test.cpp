// The paced 8051: never more instructions than its pace allows, none while the program only
// polls or the CPU is held, and back at work as soon as the host changes something.
#include "usb/firmware/firmware_image.h"
#include "usb/sim/paced_processor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace podtest {
namespace {

using namespace std::chrono_literals;
using podcore::usb::firmware::EmbeddedImage;
using podcore::usb::firmware::kImageBytes;
using podcore::usb::sim::PacedProcessor;
using podcore::usb::sim::PodController;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kPerMs = 1000;

class PacedProcessorTest : public ::testing::Test {
protected:
    void Load(const uint8_t* image, size_t bytes) {
        std::lock_guard guard(lock);
        controller.HostWriteReset(1);
        ASSERT_TRUE(controller.HostWrite(0, {image, bytes}));
        controller.HostWriteReset(0);
    }

    uint64_t Executed() {
        std::lock_guard guard(lock);
        return paced.Processor().Executed();
    }

    // Waits, within a bound, until `done` holds under the lock.
    template <typename Done> bool WaitFor(Done done) {
        const auto end = Clock::now() + 10s;
        while (Clock::now() < end) {
            {
                std::lock_guard guard(lock);
                if (done())
                    return true;
            }
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }

    // Waits until the instruction count stops moving for a while.
    uint64_t Settled() {
        uint64_t last = Executed();
        for (int i = 0; i < 500; ++i) {
            std::this_thread::sleep_for(20ms);
            const uint64_t now = Executed();
            if (now == last)
                return now;
            last = now;
        }
        ADD_FAILURE() << "the program never settled";
        return last;
    }

    std::mutex lock;
    PodController controller;
    PacedProcessor paced{controller, lock, kPerMs};
};

TEST_F(PacedProcessorTest, ABusyProgramRunsNoFasterThanItsPace) {
    // MOV DPTR,#0xE000; loop: INC A; MOVX @DPTR,A; SJMP loop: every pass changes memory.
    const std::vector<uint8_t> busy = {0x90, 0xE0, 0x00, 0x04, 0xF0, 0x80, 0xFC};
    const auto begin = Clock::now();
    Load(busy.data(), busy.size());
    std::this_thread::sleep_for(200ms);
    const uint64_t executed = Executed();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    EXPECT_GT(executed, 0u);
    EXPECT_LE(executed, kPerMs * (ms + 1)) << "in " << ms << " ms";
}

TEST_F(PacedProcessorTest, APollingProgramSleepsUntilTheHostActs) {
    EXPECT_EQ(Settled(), 0u) << "held from power-on";
    Load(EmbeddedImage(), kImageBytes);
    ASSERT_TRUE(WaitFor([&] { return controller.ReadSfr(0xBA) & 0x04; }))
        << "the ready byte is never armed";
    const uint64_t polling = Settled();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Executed(), polling) << "a program that only polls costs nothing";

    {
        std::lock_guard guard(lock);
        const auto status = controller.HostStatus();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->bytes[0], 0x55);
    }
    ASSERT_TRUE(WaitFor([&] { return controller.ReadSfr(0xBA) & 0x04; }))
        << "the next status byte is never armed";
    EXPECT_GT(Executed(), polling);
}

} // namespace
} // namespace podtest
