// The virtual pods' faults for a whole run of a program, read from PODCORE_SIM_FAULTS: a
// comma-separated list of the words below. This is the one place that reads them; the pods act
// on the parsed set.
//
//   silent                the pod samples nothing: its data endpoints never send, and its
//                         status byte reports no lost data
//   break-after=SECONDS   the status byte turns nonzero that long after sampling starts, as
//                         after an overflow
//   unplug-after=SECONDS  the pod is removed that long after sampling starts
//   no-firmware           the firmware load fails
//   full-speed            the pod sits on a full-speed port
#pragma once

#include "usb/sim/endpoint_model.h"

#include <cstdio>
#include <string_view>

namespace podcore::usb::sim {

struct RunFaults {
    DeviceFaults device;    // what every virtual pod of the run does wrong
    bool fullSpeed = false; // the pods sit on full-speed ports
};

// Reads a list of fault words. Each item it does not know, or whose seconds are not a number of
// 0 or more, is reported on `errors` (one line each) and ignored; blanks around items and empty
// items are allowed.
RunFaults ParseRunFaults(std::string_view list, std::FILE* errors);

} // namespace podcore::usb::sim
