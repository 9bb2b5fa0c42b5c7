#include "decoders/scratch_file.h"

namespace norrik::decoders {

ScratchFile::ScratchFile(const std::string& path)
    : file_(path, std::ios::binary | std::ios::trunc) {}

void ScratchFile::Append(std::string_view text) {
    if (file_)
        file_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool ScratchFile::Close() {
    if (!file_.is_open())
        return false;
    file_.close();
    return !file_.fail();
}

} // namespace norrik::decoders
