// The libusb session and the thread on which its asynchronous transfers complete. Every open pod
// shares it with the driver, so it outlives whichever of them goes last, even at process exit
// when static objects go in no particular order.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

struct libusb_context;

namespace podcore::usb::libusb {

class LibusbContext {
public:
    LibusbContext();
    ~LibusbContext();
    LibusbContext(const LibusbContext&) = delete;
    LibusbContext& operator=(const LibusbContext&) = delete;

    // Null when libusb could not start (no USB support here).
    libusb_context* Get() const { return context_; }
    // Starts the completion thread, once.
    void StartEvents();

private:
    libusb_context* context_ = nullptr;
    std::once_flag started_;
    std::thread events_;
    std::atomic<bool> stop_{false};
};

} // namespace podcore::usb::libusb
