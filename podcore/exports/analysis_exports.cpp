// Sample analysis exports. Until the analysis is built they find nothing and write nothing.
#include "exports/podcore.h"

void ScaleDataToScreen(const uint32_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                       uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                       uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                       uint8_t*, uint8_t*, int32_t, uint32_t, uint32_t, uint32_t) {}
void CreateVectors(const uint8_t*, uint32_t*, uint32_t) {}
int32_t SearchForTrigger(const uint8_t*, uint32_t, uint32_t, uint32_t) { return -1; }
