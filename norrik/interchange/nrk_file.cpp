#include "interchange/nrk_file.h"

#include "interchange/system_error.h"

#include <sys/stat.h>

namespace norrik::interchange {
namespace {

constexpr uint64_t kSettingsBytes = 80;

} // namespace

bool CheckNrkFile(PodcoreApi& pod, const std::string& path, NrkCheck& check, std::string& error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        error = SystemErrorText("cannot open the file");
        return false;
    }
    const uint64_t size = uint64_t(status.st_size);
    if (!S_ISREG(status.st_mode) || size < kSettingsBytes + 4) {
        error = "the file is " + std::to_string(size) +
                " bytes long, too short for a capture's settings and a sample";
        return false;
    }
    check.present = (size - kSettingsBytes) / 4;
    check.count = 0;
    if (pod.GetFileBufferSize(&check.count, path.c_str()) == 0 || check.count == 0) {
        error = "the file's settings count no samples";
        return false;
    }
    return true;
}

std::vector<std::string> NrkNotes(const NrkCheck& check, const BufferPlan& plan) {
    std::vector<std::string> notes;
    if (check.present < check.count)
        notes.push_back("The file is cut short: it holds " + std::to_string(check.present) +
                        " of the " + std::to_string(check.count) +
                        " samples it counts. The rest of the buffer repeats its last sample.");
    if (plan.readSamples < check.Readable())
        notes.push_back("Only the first " + std::to_string(plan.readSamples) + " of the file's " +
                        std::to_string(check.Readable()) +
                        " samples were read: the memory allows no more.");
    return notes;
}

} // namespace norrik::interchange
