#include "interchange/buffer_reader.h"

#include "interchange/line_names.h"

namespace norrik::interchange {

bool BufferReader::ReadLayout(FileLayout& layout, std::string&) {
    for (size_t k = 0; k < kLines.size(); ++k)
        layout.channels.push_back({int(k) + 1, std::string(kLines[k].name)});
    layout.recordedRate = rateHz_;
    layout.ticksPerSecond = {rateHz_, 1};
    return true;
}

bool BufferReader::Replay(std::span<const uint32_t> lineMasks, SampleSink& sink,
                          const ProgressHook&, uint64_t& endTick, std::string&) {
    // The lines keep their bits whatever the mapping: the buffer is already in line order.
    (void)lineMasks;
    sink.Samples(0, {samples_, count_});
    endTick = count_;
    return true;
}

} // namespace norrik::interchange
