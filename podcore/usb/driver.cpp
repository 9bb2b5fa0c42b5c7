#include "usb/driver.h"

#include "usb/libusb/libusb_driver.h"
#include "usb/sim/sim_driver.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace podcore::usb {

void Overlapped::Arm() {
    std::lock_guard lock(mutex_);
    done_ = false;
    error_ = error::IoIncomplete;
    bytes_ = 0;
}

// Notifies under the lock: a waiter that sees the request done may destroy the record at once.
void Overlapped::Complete(uint32_t systemError, uint32_t bytes) {
    std::lock_guard lock(mutex_);
    done_ = true;
    error_ = systemError;
    bytes_ = bytes;
    completed_.notify_all();
}

bool Overlapped::Wait(uint32_t milliseconds) {
    std::unique_lock lock(mutex_);
    if (milliseconds == kInfinite) {
        completed_.wait(lock, [this] { return done_; });
        return true;
    }
    return completed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return done_; });
}

bool Overlapped::Result(uint32_t& bytes, uint32_t& systemError) const {
    std::lock_guard lock(mutex_);
    bytes = done_ ? bytes_ : 0;
    systemError = done_ ? error_ : error::IoIncomplete;
    return done_ && error_ == error::Success;
}

bool Overlapped::Done() const {
    std::lock_guard lock(mutex_);
    return done_;
}

namespace {

std::unique_ptr<Driver> DriverFromEnvironment() {
    const char* choice = std::getenv("PODCORE_DRIVER");
    if (choice != nullptr && std::strcmp(choice, "sim") == 0)
        return sim::MakeSimDriver(std::getenv("PODCORE_SIM_PODS"),
                                  std::getenv("PODCORE_SIM_FAULTS"));
    return libusb::MakeLibusbDriver();
}

std::unique_ptr<Driver>& Installed() {
    static std::unique_ptr<Driver> driver;
    return driver;
}

} // namespace

Driver& CurrentDriver() {
    auto& driver = Installed();
    if (!driver)
        driver = DriverFromEnvironment();
    return *driver;
}

void InstallDriver(std::unique_ptr<Driver> driver) {
    Installed() = std::move(driver);
}

} // namespace podcore::usb
