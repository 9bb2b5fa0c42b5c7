// Capture exports. Until the capture engine exists no capture can start: each returns its
// documented failure value and leaves the caller's variables alone.
#include "exports/podcore.h"

int32_t StartCapture(uint32_t, uint32_t, const uint32_t*, int32_t, const uint32_t*, uint32_t,
                     uint32_t) {
    return 0;
}
int32_t CaptureStatus(uint8_t*, uint8_t*, uint8_t*, int32_t*, int32_t*, int32_t*, uint8_t*) {
    return 0;
}
int32_t SingleCaptureStatus() { return 0; }
int32_t StopCapture() { return 1; }
int32_t SpeedTest() { return 0; }
int32_t TestIt(uint8_t) { return 0; }
