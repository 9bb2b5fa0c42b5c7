// The summary a capture leaves behind: built from the blocks as they complete and moved with the
// ring, it is the one the first view reads, and it matches the samples as the capture left them.
#include "adopted_summary.h"
#include "capture/block_store.h"
#include "capture/capture_stop.h"
#include "capture_fixture.h"
#include "library_buffer_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace capture_test;
using podcore::buffer::Buffer;
using podcore::capture::ArmStreaming;
using podcore::capture::CaptureRequest;
using podcore::capture::CaptureState;
using podcore::capture::EndStoppedCapture;
using podcore::capture::LoadTriggerSteps;
using podcore::capture::StoreAuxBlock;
using podcore::capture::StoreMainBlock;

constexpr uint32_t kNeverMatches[2] = {0xFFFFFFFF, 0xFFFFFFFF}; // byte 3 of a sample is 0

class CaptureSummaryTest : public LibraryBufferFixture {
protected:
    // Arms a capture over a fresh library buffer of `ringBlocks` blocks.
    void Arm(uint32_t ringBlocks, const uint32_t* steps, int32_t stepCount, uint32_t postTrigger) {
        ASSERT_NE(MakeBuffer(ringBlocks * kBlock), nullptr);
        const CaptureRequest request{steps, stepCount, ringBlocks * kBlock, postTrigger};
        LoadTriggerSteps(state, request);
        ArmStreaming(state, request);
    }

    // Feeds whole blocks until `blocks` are in or the capture ends, then the given bytes of the
    // next block.
    void Feed(const Streams& streams, uint32_t blocks, uint32_t mainBytes = 0,
              uint32_t auxBytes = 0) {
        for (uint32_t block = 0; block < blocks && state.Running != 0; ++block)
            FeedBlockTo(state, streams, block);
        StoreMainBlock(state, streams.main.data() + size_t{blocks} * 2 * kBlock, mainBytes);
        StoreAuxBlock(state, streams.aux.data() + size_t{blocks} * kBlock / 2, auxBytes);
    }

    // What StopCapture does once the threads are gone.
    void Stop() {
        state.Running = 0;
        EndStoppedCapture(state);
    }

    CaptureState state{Buffer()};
};

TEST_F(CaptureSummaryTest, StoppedCapturesLeaveTheSummaryOfTheirSamples) {
    struct Case {
        const char* what;
        uint32_t ringBlocks;
        uint32_t fedBlocks;
        uint32_t mainBytes; // of the block after them, before the stop
        uint32_t auxBytes;
        bool wraps;
    };
    for (const Case& c : {
             Case{"ring never filled", 4, 2, 0, 0, false},
             Case{"ring never filled, stopped mid-block", 4, 2, 40000, 10000, false},
             Case{"ring filled exactly", 4, 4, 0, 0, true},
             Case{"wrapped once", 4, 5, 0, 0, true},
             Case{"wrapped, stopped mid-block", 4, 6, 65536, 5000, true},
             Case{"rotated by a whole coarse block", 8, 12, 0, 0, true},
             Case{"ring whose coarsest block stops short of it", 5, 7, 3000, 3000, true},
         }) {
        SCOPED_TRACE(c.what);
        Arm(c.ringBlocks, kNeverMatches, 1, c.ringBlocks * kBlock);
        const Streams streams = StreamsOf(VariedSamples((c.fedBlocks + 1) * kBlock, 21));
        Feed(streams, c.fedBlocks, c.mainBytes, c.auxBytes);
        EXPECT_EQ(state.StartIndex != 0, c.wraps) << "the ring is rotated at the stop";
        Stop();

        const uint32_t valid = std::min(c.fedBlocks, c.ringBlocks) * kBlock;
        ASSERT_EQ(Buffer().actualCaptureLength, valid);
        EXPECT_TRUE(SummaryLeftByTheWriter(valid));
        Release();
    }
}

// A capture that ends on its own, its trigger found after the ring wrapped.
TEST_F(CaptureSummaryTest, ATriggeredCaptureLeavesTheSummaryOfItsSamples) {
    const std::vector<uint32_t> samples = VariedSamples(12 * kBlock, 3);
    const uint32_t step[2] = {0x00FFFFFF, samples[5 * kBlock + 100]};
    Arm(4, step, 1, kBlock);
    Feed(StreamsOf(samples), 11);
    ASSERT_EQ(state.Triggered, 1);
    ASSERT_EQ(state.Running, 0) << "the capture ends on its own";
    ASSERT_NE(state.StartIndex, 0u) << "the ring wrapped before the trigger";
    Stop();
    EXPECT_TRUE(SummaryLeftByTheWriter(4 * kBlock));
}

// A buffer replaced while the capture ran is not the one its summary describes: the readers
// summarise the new one themselves.
TEST_F(CaptureSummaryTest, ABufferReplacedDuringTheCaptureIsSummarisedByItsReaders) {
    Arm(4, kNeverMatches, 1, 4 * kBlock);
    const Streams streams = StreamsOf(VariedSamples(6 * kBlock, 8));
    Feed(streams, 1);
    Release();
    uint32_t* replaced = MakeBuffer(2 * kBlock);
    ASSERT_NE(replaced, nullptr);
    Stop();

    podcore::analysis::BufferSummary expected;
    expected.Build(replaced, 2 * kBlock);
    const podcore::analysis::BufferSummary* summary = podcore::analysis::SummaryOfLibraryBuffer();
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(*summary, expected);
}

} // namespace
