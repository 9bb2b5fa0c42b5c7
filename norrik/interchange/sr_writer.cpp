// Sessions other analyzers open: version 2, device 1 with the twenty lines as probes P0 to VDD,
// three bytes per sample, in deflated chunks that are packed from the buffer as the archive is
// written, so that no copy of the capture is made.
#include "interchange/foreign_formats.h"
#include "interchange/line_names.h"
#include "interchange/rate_text.h"
#include "interchange/zip_error_text.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace norrik::interchange {
namespace {

constexpr size_t kUnitSize = 3;
constexpr size_t kChunkSamples = (size_t{4} << 20) / kUnitSize;
// zlib's own default: most of the size for a fraction of the time of the best.
constexpr zip_uint32_t kDeflateLevel = 6;

// Probe k + 1 is bit k: the lines in order, RES and VDD moving down past bit 18, which has no
// line.
inline uint32_t Packed(uint32_t word) {
    return (word & 0x3FFFF) | ((word >> 1) & 0xC0000);
}

// One chunk's bytes, made from the samples as libzip asks for them.
struct ChunkSource {
    const uint32_t* samples;
    size_t count;
    uint64_t at = 0; // bytes given so far
    zip_error_t error;

    zip_int64_t Read(uint8_t* into, zip_uint64_t length) {
        const uint64_t total = uint64_t{count} * kUnitSize;
        const uint64_t end = std::min<uint64_t>(total, at + length);
        uint8_t* out = into;
        while (at < end) {
            const size_t sample = size_t(at / kUnitSize);
            const size_t byte = size_t(at % kUnitSize);
            const uint32_t packed = Packed(samples[sample]);
            if (byte == 0 && end - at >= kUnitSize) {
                *out++ = uint8_t(packed);
                *out++ = uint8_t(packed >> 8);
                *out++ = uint8_t(packed >> 16);
                at += kUnitSize;
            } else {
                *out++ = uint8_t(packed >> (8 * byte));
                ++at;
            }
        }
        return zip_int64_t(out - into);
    }
};

zip_int64_t ChunkCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* source = static_cast<ChunkSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source->at = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return source->Read(static_cast<uint8_t*>(data), length);
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* status = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &source->error);
        if (status == nullptr)
            return -1;
        zip_stat_init(status);
        status->size = uint64_t{source->count} * kUnitSize;
        status->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source->error, data, length);
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    default:
        zip_error_set(&source->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

std::string MetadataText(uint64_t rateHz) {
    std::string text = "[global]\nsigrok version=0.5.2\n\n[device 1]\ncapturefile=logic-1\n"
                       "total probes=" +
                       std::to_string(kLines.size()) + "\nsamplerate=" + RateText(rateHz) +
                       "\ntotal analog=0\n";
    for (size_t k = 0; k < kLines.size(); ++k)
        text += "probe" + std::to_string(k + 1) + "=" + std::string(kLines[k].name) + "\n";
    return text + "unitsize=" + std::to_string(kUnitSize) + "\n";
}

class SrWriter final : public ForeignWriter {
public:
    bool Write(const CaptureSamples& capture, const std::string& path, const ProgressHook& progress,
               std::string& error) override {
        int code = 0;
        zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        if (archive == nullptr) {
            error = "cannot create the file: " + ZipErrorText(code);
            return false;
        }
        // The texts and chunk sources must live until the archive is written at its close.
        static const char kVersion[] = "2";
        const std::string metadata = MetadataText(capture.rateHz);
        std::vector<std::unique_ptr<ChunkSource>> chunks;
        bool added = AddBuffer(archive, "version", kVersion, 1) &&
                     AddBuffer(archive, "metadata", metadata.data(), metadata.size());
        for (size_t first = 0; added && first < capture.count; first += kChunkSamples) {
            chunks.push_back(std::make_unique<ChunkSource>(ChunkSource{
                capture.samples + first, std::min(kChunkSamples, capture.count - first), 0, {}}));
            zip_error_init(&chunks.back()->error);
            zip_source_t* source = zip_source_function(archive, ChunkCallback, chunks.back().get());
            const std::string name = "logic-1-" + std::to_string(chunks.size());
            added = source != nullptr && Add(archive, name.c_str(), source, true);
        }
        ProgressHook hook = progress;
        if (added && progress)
            zip_register_progress_callback_with_state(
                archive, 0.01,
                [](zip_t*, double done, void* state) {
                    (*static_cast<ProgressHook*>(state))(done);
                },
                nullptr, &hook);
        if (!added || zip_close(archive) != 0) {
            error = std::string("cannot write the session: ") + zip_strerror(archive);
            zip_discard(archive);
            for (const auto& chunk : chunks)
                zip_error_fini(&chunk->error);
            return false;
        }
        for (const auto& chunk : chunks)
            zip_error_fini(&chunk->error);
        return true;
    }

private:
    static bool Add(zip_t* archive, const char* name, zip_source_t* source, bool deflate) {
        const zip_int64_t index =
            zip_file_add(archive, name, source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return false;
        }
        return zip_set_file_compression(archive, zip_uint64_t(index),
                                        deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                        deflate ? kDeflateLevel : 0) == 0;
    }

    static bool AddBuffer(zip_t* archive, const char* name, const void* bytes, size_t size) {
        zip_source_t* source = zip_source_buffer(archive, bytes, size, 0);
        return source != nullptr && Add(archive, name, source, false);
    }
};

} // namespace

std::unique_ptr<ForeignWriter> MakeSrWriter() {
    return std::make_unique<SrWriter>();
}

} // namespace norrik::interchange
