// The two streaming threads storing at once while the application thread polls the status and
// stops the capture: the outcome must not depend on how the threads interleave. Run under
// ThreadSanitizer (scripts/test --tsan) this also shows that no field is shared unguarded.
#include "capture_fixture.h"

#include "capture/block_store.h"
#include "capture/capture_status.h"
#include "capture/capture_stop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace capture_test {
namespace {

using namespace podcore::capture;

class ConcurrentCaptureTest : public CaptureFixture {
protected:
    // Polls like the application's timer until told to stop, checking what every poll may see.
    void Poll(const std::atomic<bool>& done) {
        const auto length = static_cast<int32_t>(buffer.bufferLength.load());
        while (!done) {
            const CaptureProgress progress = ReadProgress(state);
            EXPECT_LE(progress.full, 100);
            EXPECT_GE(progress.startP, 0);
            EXPECT_LT(progress.startP, length);
            EXPECT_GE(progress.endP, 0);
            EXPECT_LT(progress.endP, length);
            EXPECT_EQ(progress.endP % static_cast<int32_t>(kBlock), 0);
            std::this_thread::yield();
        }
    }
};

TEST_F(ConcurrentCaptureTest, CaptureThatEndsItselfGivesTheSameSamplesWhateverTheInterleaving) {
    // 8 blocks, trigger in block 2: the count is raised so that block 7 ends the capture, which
    // is exactly where the data ends, so no stream runs ahead into samples still needed.
    constexpr uint32_t kBlocks = 8;
    std::vector<uint32_t> samples = VariedSamples(kBlocks * kBlock, 9);
    for (uint32_t& sample : samples)
        sample &= ~0x8000u;
    samples[2 * kBlock + 12345] |= 0x8000;
    const Streams streams = StreamsOf(samples);

    for (int round = 0; round < 3; ++round) {
        MakeRing(kBlocks, 0);
        Arm(1, {0x8000, 0x8000}, kBlock);
        std::atomic<bool> done{false};
        std::thread poller([&] { Poll(done); });
        std::thread aux([&] {
            for (uint32_t at = 0; at < streams.aux.size(); at += kAuxTransferBytes)
                StoreAuxBlock(state, streams.aux.data() + at, kAuxTransferBytes);
        });
        std::thread main([&] {
            for (uint32_t at = 0; at < streams.main.size(); at += kMainTransferBytes)
                StoreMainBlock(state, streams.main.data() + at, kMainTransferBytes);
        });
        aux.join();
        main.join();
        done = true;
        poller.join();

        EXPECT_EQ(state.Running, 0);
        EXPECT_EQ(state.TriggerIndex, 2 * kBlock + 12346);
        EXPECT_EQ(state.EndIndex, 7 * kBlock);
        EndStoppedCapture(state);
        EXPECT_TRUE(memory == samples) << "round " << round;
    }
}

// Like the throughput test: no trigger, streaming round a one-block ring until the application
// thread clears Running; both streams then stop storing.
TEST_F(ConcurrentCaptureTest, StopFromTheApplicationThreadEndsBothStreams) {
    MakeRing(1, 0);
    Arm(kTriggerOff, {}, kBlock);
    const Streams streams = StreamsOf(VariedSamples(kBlock, 10));
    auto stream = [&](auto store, const std::vector<uint8_t>& bytes, uint32_t transfer) {
        while (state.Running != 0) {
            for (uint32_t at = 0; at < bytes.size(); at += transfer)
                store(state, bytes.data() + at, transfer);
        }
    };
    std::atomic<bool> done{false};
    std::thread poller([&] { Poll(done); });
    std::thread aux(stream, StoreAuxBlock, std::cref(streams.aux), kAuxTransferBytes);
    std::thread main(stream, StoreMainBlock, std::cref(streams.main), kMainTransferBytes);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    state.Running = 0;
    aux.join();
    main.join();
    done = true;
    poller.join();

    // What the streams deliver after the stop is dropped.
    const std::vector<uint32_t> stopped = memory;
    StoreAuxBlock(state, streams.aux.data(), kAuxTransferBytes);
    StoreMainBlock(state, streams.main.data(), kMainTransferBytes);
    EXPECT_TRUE(memory == stopped);
    EndStoppedCapture(state);
    EXPECT_FALSE(state.stopPending);
}

} // namespace
} // namespace capture_test
