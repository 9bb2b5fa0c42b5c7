#include "capture/stream_threads.h"

#include "capture/block_store.h"
#include "diagnostics.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace podcore::capture {

namespace {

struct StreamSpec {
    uint8_t address;
    uint32_t transferBytes;
    uint32_t timeoutMs;
};
constexpr StreamSpec kAuxStream{0x86, kAuxStreamTransferBytes, 800};
constexpr StreamSpec kMainStream{0x88, kMainStreamTransferBytes, 500};
constexpr uint32_t kDrainTimeoutMs = 100;
// How often a wait for a transfer looks whether the capture was stopped: StopCapture returns
// soon even when the streams are silent and every transfer would wait out its time-out.
constexpr uint32_t kStopCheckMs = 20;
// A request the driver refused (a pod that was unplugged) fails at once; the pause keeps the
// thread from spinning until the capture is stopped.
constexpr auto kRefusedPause = std::chrono::milliseconds(50);

// One of the transfers in flight: its buffer, its record and its request.
struct Slot {
    std::vector<uint8_t> buffer = std::vector<uint8_t>(kStreamBufferBytes);
    usb::Overlapped overlapped;
    std::unique_ptr<usb::PendingTransfer> request;
    uint32_t started = usb::error::InvalidFunction; // what the driver said to the request
};

class Stream {
public:
    Stream(usb::UsbEndpoint& endpoint, const StreamSpec& spec)
        : endpoint_(endpoint), spec_(spec), slots_(kTransfersInFlight) {}

    // Every request asks for the full transfer size: the byte count of a short transfer says
    // nothing about the next one, and an aborted one (0 bytes) would starve the stream.
    void Begin(Slot& slot) {
        slot.request =
            endpoint_.BeginTransfer(slot.buffer.data(), spec_.transferBytes, slot.overlapped);
        slot.started = slot.request ? endpoint_.LastError : usb::error::InvalidFunction;
    }

    // Waits on the slot's own request: the endpoint's last start result belongs to another.
    bool Wait(Slot& slot, uint32_t milliseconds) {
        if (slot.started == usb::error::Success)
            return true;
        return slot.started == usb::error::IoPending && slot.overlapped.Wait(milliseconds);
    }

    // As Wait, but gives up early once Running is 0.
    bool WaitWhileRunning(const CaptureState& state, Slot& slot, uint32_t milliseconds) {
        for (uint32_t waited = 0; waited < milliseconds; waited += kStopCheckMs) {
            if (Wait(slot, std::min(kStopCheckMs, milliseconds - waited)))
                return true;
            if (state.Running == 0 || !Accepted(slot))
                return false;
        }
        return false;
    }

    // The bytes that arrived; a request the driver refused delivered none.
    uint32_t Finish(Slot& slot) {
        uint32_t length = spec_.transferBytes;
        if (!Accepted(slot)) {
            slot.request.reset();
            return 0;
        }
        endpoint_.FinishTransfer(slot.buffer.data(), length, slot.overlapped,
                                 std::move(slot.request));
        return length;
    }

    template <typename Store>
    void Run(const CaptureState& state, const QueuedSignal& queued, Store store) {
        for (Slot& slot : slots_)
            Begin(slot);
        queued();
        // Once Running is 0 every store discards its data, so the pass ends there.
        while (state.Running != 0) {
            for (Slot& slot : slots_) {
                if (state.Running == 0)
                    break;
                if (!WaitWhileRunning(state, slot, spec_.timeoutMs)) {
                    // The drain finishes what a stop left in flight.
                    if (state.Running == 0)
                        break;
                    endpoint_.Abort();
                    // Its byte count is final only once the aborted request has completed:
                    // what arrived before the time-out is stored, not dropped.
                    Wait(slot, kDrainTimeoutMs);
                    endpoint_.Reset();
                    Print("Aborted\n");
                    if (!Accepted(slot))
                        std::this_thread::sleep_for(kRefusedPause);
                }
                const uint32_t length = Finish(slot);
                store(slot.buffer.data(), length);
                Begin(slot);
            }
        }
        Drain();
    }

private:
    static bool Accepted(const Slot& slot) {
        return slot.started == usb::error::Success || slot.started == usb::error::IoPending;
    }

    // Aborting first lets the outstanding requests complete at once instead of each waiting
    // for data that nobody stores.
    void Drain() {
        endpoint_.Abort();
        for (Slot& slot : slots_) {
            Wait(slot, kDrainTimeoutMs);
            Finish(slot);
        }
    }

    usb::UsbEndpoint& endpoint_;
    const StreamSpec& spec_;
    std::vector<Slot> slots_;
};

template <typename Store>
void RunStream(CaptureState& state, usb::UsbDevice& pod, const StreamSpec& spec,
               const QueuedSignal& queued, Store store) {
    usb::UsbEndpoint* endpoint = pod.EndpointOf(spec.address);
    if (endpoint == nullptr)
        return;
    endpoint->SetTransferSize(spec.transferBytes);
    Trace("Beginning Transfer");
    Stream(*endpoint, spec).Run(state, queued, store);
}

} // namespace

void AuxStreamThread(CaptureState& state, usb::UsbDevice& pod, const QueuedSignal& queued) {
    RunStream(state, pod, kAuxStream, queued, [&](const uint8_t* data, uint32_t length) {
        Print("1");
        for (uint32_t blocks = StoreAuxBlock(state, data, length); blocks > 0; --blocks)
            Print("a");
    });
}

void MainStreamThread(CaptureState& state, usb::UsbDevice& pod, const QueuedSignal& queued) {
    RunStream(state, pod, kMainStream, queued, [&](const uint8_t* data, uint32_t length) {
        StoreMainBlock(state, data, length);
        Print("2");
    });
}

} // namespace podcore::capture
