// Capture file exports. Until the file formats are built no file opens or is written.
#include "exports/podcore.h"

int32_t SaveFileDataAndConfig(uint8_t*, uint32_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint32_t*, uint32_t*,
                              uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                              const char*) {
    return 0;
}
int32_t OpenFileDataAndConfig(uint8_t*, uint32_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                              uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint32_t*, uint32_t*,
                              uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                              const char*) {
    return 0;
}
int32_t GetFileBufferSize(uint32_t*, const char*) { return 0; }
int32_t SaveFileData(char*, char*, char*, char*, char*, char*, char*, char*, uint8_t*,
                     const char*) {
    return 0;
}
int32_t OpenFileData(char*, char*, char*, char*, char*, char*, char*, char*, uint8_t*,
                     const char*) {
    return 0;
}
