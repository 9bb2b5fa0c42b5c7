// What the acquisition cycle tells the user, shared by the window and the command line.
#pragma once

namespace norrik {

inline constexpr const char* kWaitingForTriggerText = "Waiting for Trigger";
inline constexpr const char* kStoringDataText = "Triggered - Storing Data";
inline constexpr const char* kBreakTitle = "PC to Pod Connection Failure";
inline constexpr const char* kBreakText = "There was a break in the sampled data. ";

} // namespace norrik
