#include "capture/capture_session.h"

#include "capture/capture_stop.h"
#include "capture/status_endpoint.h"
#include "capture/stream_threads.h"
#include "usb/firmware/firmware_image.h"
#include "usb/firmware_loader.h"

#include <pthread.h>
#include <sched.h>

#include <thread>

namespace podcore::capture {

namespace {

constexpr uint8_t kStartCommand = 1;
constexpr uint8_t kCommandEndpoint = 0x01;
constexpr auto kReadyPollPause = std::chrono::milliseconds(5);
// How long the start command waits for the threads to queue their transfers.
constexpr auto kQueueWait = std::chrono::milliseconds(2000);

// The threads of the capture that was started last, with the pod they stream from.
struct StreamingThreads {
    std::shared_ptr<usb::UsbDevice> pod;
    std::thread aux;
    std::thread main;
    std::atomic<int> running{0};
    // Streams whose transfers are queued, or that ended without queueing any.
    std::atomic<int> queued{0};
};

StreamingThreads& Threads() {
    static StreamingThreads threads;
    return threads;
}

// Time-critical where the system allows it; otherwise the thread keeps its normal priority.
void RaisePriority(std::thread& thread) {
    sched_param parameter{};
    parameter.sched_priority = sched_get_priority_max(SCHED_FIFO);
    pthread_setschedparam(thread.native_handle(), SCHED_FIFO, &parameter);
}

template <typename Body> std::thread StartThread(CaptureState& state, Body body) {
    StreamingThreads& threads = Threads();
    threads.running.fetch_add(1);
    auto run = [&state, &threads, body, pod = threads.pod] {
        bool queued = false;
        const QueuedSignal signal = [&] {
            queued = true;
            threads.queued.fetch_add(1);
        };
        try {
            body(state, *pod, signal);
        } catch (...) {
            // A pod that went away mid-capture ends its stream, not the process.
        }
        if (!queued)
            signal();
        if (threads.running.fetch_sub(1) == 1)
            state.ThreadsDone = 1;
    };
    try {
        std::thread thread(run);
        RaisePriority(thread);
        return thread;
    } catch (...) {
        threads.running.fetch_sub(1);
        throw;
    }
}

void JoinThreads() {
    StreamingThreads& threads = Threads();
    if (threads.aux.joinable())
        threads.aux.join();
    if (threads.main.joinable())
        threads.main.join();
    threads.pod.reset();
}

// The pod samples into FIFOs of a few kilobytes: it may start only once both streams have
// their transfers queued, or the first samples are lost before anyone asks for them.
void AwaitQueuedTransfers() {
    const auto deadline = std::chrono::steady_clock::now() + kQueueWait;
    while (Threads().queued < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool AwaitReady(usb::UsbDevice& pod) {
    const auto deadline = std::chrono::steady_clock::now() + kReadyWait;
    while (SingleStatusRead(&pod) != kStatusReady) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kReadyPollPause);
    }
    return true;
}

// Its outcome is not checked: a pod that does not start shows it through its status byte.
void SendStart(usb::UsbDevice& pod, uint32_t rateCode) {
    try {
        usb::UsbEndpoint* endpoint = pod.EndpointOf(kCommandEndpoint);
        uint8_t command[2] = {kStartCommand, DivisorOf(rateCode)};
        uint32_t length = sizeof command;
        if (endpoint != nullptr)
            endpoint->TransferData(command, length);
    } catch (const usb::UsbError&) {
    }
}

} // namespace

uint8_t DivisorOf(uint32_t rateCode) {
    switch (rateCode) {
    case 17: return 47;
    case 27: return 23;
    case 37: return 15;
    case 47: return 11;
    case 67: return 7;
    case 87: return 5;
    case 127: return 3;
    case 167: return 2;
    default: return 1;
    }
}

int32_t StartStreaming(CaptureState& state, std::shared_ptr<usb::UsbDevice> pod,
                       uint32_t rateCode, uint32_t clockingMode, const CaptureRequest& request) {
    StreamingThreads& threads = Threads();
    if (clockingMode != kInternalClock || !IsAcceptable(state, request) ||
        threads.aux.joinable() || threads.main.joinable())
        return 0;
    const bool loaded = pod && pod->IsOpen() &&
                        usb::DownloadImage(*pod, usb::firmware::EmbeddedImage()) == 1;
    LoadTriggerSteps(state, request);
    if (!loaded || !AwaitReady(*pod))
        return 0;

    ArmStreaming(state, request);
    state.ThreadsDone = 0;
    threads.pod = pod;
    threads.queued = 0;
    try {
        threads.aux = StartThread(state, AuxStreamThread);
        threads.main = StartThread(state, MainStreamThread);
    } catch (const std::system_error&) {
        state.Running = 0;
        JoinThreads();
        state.ThreadsDone = 1;
        state.stopPending = false;
        return 0;
    }
    AwaitQueuedTransfers();
    SendStart(*pod, rateCode);
    return 1;
}

void StopStreaming(CaptureState& state) {
    state.Running = 0;
    JoinThreads();
    EndStoppedCapture(state);
}

} // namespace podcore::capture
