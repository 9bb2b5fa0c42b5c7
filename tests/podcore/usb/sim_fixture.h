// A test fixture with a fresh virtual driver installed and the pod state reset, so that each
// case starts like a freshly loaded library with the devices it attaches.
#pragma once

#include "usb/driver.h"
#include "usb/pod_state.h"
#include "usb/sim/sim_driver.h"
#include "usb/sim/virtual_pod.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace podtest {

using podcore::usb::sim::SimDriver;
using podcore::usb::sim::VirtualDevice;
using podcore::usb::sim::VirtualPod;

class SimTest : public ::testing::Test {
protected:
    void SetUp() override {
        podcore::usb::ResetPods();
        auto driver = std::make_unique<SimDriver>();
        sim = driver.get();
        podcore::usb::InstallDriver(std::move(driver));
        stateHome =
            std::filesystem::temp_directory_path() / ("podcore-usb-" + std::to_string(::getpid()));
        std::filesystem::create_directories(stateHome);
        ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
    }

    void TearDown() override {
        podcore::usb::ResetPods();
        podcore::usb::InstallDriver(std::make_unique<SimDriver>());
        std::filesystem::remove_all(stateHome);
    }

    std::shared_ptr<VirtualPod> AttachPod(uint16_t id, bool fullSpeed = false) {
        return sim->Attach(std::make_shared<VirtualPod>(id, fullSpeed));
    }

    // The requests with this code the driver received, in order.
    std::vector<podcore::usb::sim::LoggedRequest> RequestsOf(uint32_t code) const {
        std::vector<podcore::usb::sim::LoggedRequest> found;
        for (auto& entry : sim->Requests())
            if (entry.code == code)
                found.push_back(entry);
        return found;
    }

    SimDriver* sim = nullptr;
    std::filesystem::path stateHome;
};

// Runs `change` on a device's state under its lock, as the driver does.
template <typename Device, typename Change> void WithDevice(Device& device, Change change) {
    std::lock_guard lock(device.mutex);
    change(device);
}

} // namespace podtest
