#include "usb/libusb/libusb_context.h"

#include <libusb.h>

namespace podcore::usb::libusb {

namespace {
constexpr int kEventPollMicroseconds = 100000;
} // namespace

LibusbContext::LibusbContext() {
    if (libusb_init(&context_) != 0)
        context_ = nullptr;
}

LibusbContext::~LibusbContext() {
    if (events_.joinable()) {
        stop_ = true;
        events_.join();
    }
    if (context_ != nullptr)
        libusb_exit(context_);
}

void LibusbContext::StartEvents() {
    std::call_once(started_, [this] {
        events_ = std::thread([this] {
            while (!stop_) {
                timeval poll{0, kEventPollMicroseconds};
                libusb_handle_events_timeout_completed(context_, &poll, nullptr);
            }
        });
    });
}

} // namespace podcore::usb::libusb
