#include "decoders/scratch_file.h"

#include <fstream>

namespace norrik::decoders {

bool WriteScratchFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return !file.fail();
}

} // namespace norrik::decoders
