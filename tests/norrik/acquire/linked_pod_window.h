// The main window bound to the pod library's code linked into the test, over a virtual driver
// that the test plugs pods into and pulls them from while the window runs, as a user would.
#pragma once

#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"
#include "usb/driver.h"
#include "usb/pod_state.h"
#include "usb/sim/sim_driver.h"
#include "usb/sim/virtual_pod.h"
#include "virtual_pod_speed.h"

#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>
#include <mutex>
#include <vector>

namespace norrik {

using podcore::usb::sim::SimDriver;
using podcore::usb::sim::VirtualPod;

// The exports as linked, bound the way the program binds the loaded library.
inline PodcoreApi LinkedPodcore() {
    PodcoreApi api;
#define NORRIK_BIND_LINKED(name) api.name = &::name;
    NORRIK_PODCORE_EXPORTS(NORRIK_BIND_LINKED)
#undef NORRIK_BIND_LINKED
    return api;
}

// Settings and the library's state files go to folders of the test's own.
inline void UsePrivateFolders() {
    static QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", (folder.path() + "/config").toUtf8());
    qputenv("XDG_STATE_HOME", (folder.path() + "/state").toUtf8());
}

// A library state as at load, over a virtual driver with no pods yet; the driver stays
// installed until the next call.
inline SimDriver* FreshVirtualDriver() {
    podcore::usb::ResetPods();
    auto driver = std::make_unique<SimDriver>();
    SimDriver* installed = driver.get();
    podcore::usb::InstallDriver(std::move(driver));
    Podcore() = LinkedPodcore();
    return installed;
}

// A pod that samples in real time as fast as this build keeps up with.
inline std::shared_ptr<VirtualPod> PlugIn(SimDriver& driver, uint16_t podId,
                                          bool fullSpeed = false) {
    auto pod = std::make_shared<VirtualPod>(podId, fullSpeed);
    pod->sampling.timeScale = kPodTimeScale;
    pod->sampling.fastestSamplesPerSecond = kFastestPodSamples;
    return driver.Attach(std::move(pod));
}

// Sets how the pod samples from its next start command on.
template <typename Change> void ChangeSampling(VirtualPod& pod, Change change) {
    std::lock_guard lock(pod.mutex);
    change(pod.sampling);
}

// Answers every message box with OK and keeps what it said.
struct MessageRecorder {
    MessageRecorder() {
        SetMessageAnswerer([this](const MessageRequest& request) {
            requests.push_back(request);
            return QMessageBox::Ok;
        });
    }
    ~MessageRecorder() { SetMessageAnswerer({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> requests;
};

} // namespace norrik
