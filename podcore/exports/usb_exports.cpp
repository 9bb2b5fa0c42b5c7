// Pod, firmware and raw-transfer exports. Until the USB layer exists there is never a pod, so
// each returns its documented failure value.
#include "exports/podcore.h"

int32_t EnumeratePods(uint32_t*) { return 0; }
int32_t NewEnumeratePods(uint32_t*) { return 0; }
int32_t OpenPod(uint32_t) { return 0; }
int32_t ClosePod() { return 1; }
int32_t InitializeKTLAPod(uint32_t) { return 0; }
int32_t InitializeKTPod(uint32_t) { return 255; }
int32_t Reset8051(uint8_t) { return 4; }
int32_t DownloadImage(const uint8_t*) { return 0; }
int32_t DownloadFile(const char*) { return 0; }
int32_t DownloadFirmware(const char*) { return 0; }
int32_t BulkIn(uint8_t, uint32_t, uint8_t*) { return 0; }
int32_t BulkOut(uint8_t, uint32_t, uint8_t*) { return 0; }
int32_t ControlIn(uint8_t, uint32_t, uint32_t, uint32_t, uint8_t*) { return 0; }
int32_t ControlOut(uint8_t, uint32_t, uint32_t, uint32_t, uint8_t*) { return 0; }
