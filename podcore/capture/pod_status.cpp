#include "capture/pod_status.h"

namespace podcore::capture {

uint8_t PollStatusByte(StatusByteSource* source, int reads) {
    uint8_t status = kStatusNoAnswer;
    if (source == nullptr)
        return status;
    for (int i = 0; i < reads; ++i) {
        if (const std::optional<uint8_t> byte = source->ReadStatusByte())
            status = *byte;
    }
    return status;
}

} // namespace podcore::capture
