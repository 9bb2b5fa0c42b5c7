// Sessions of other analyzers (version 1 and 2): a zip archive with "version", INI "metadata"
// and the logic samples of device 1 in chunks named after its capture file, unitsize bytes per
// sample, bit k being probe k + 1.
#include "interchange/foreign_formats.h"
#include "interchange/rate_text.h"
#include "interchange/session_metadata.h"
#include "interchange/zip_error_text.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <charconv>

namespace norrik::interchange {
namespace {

// Metadata and version texts are small; more is no session.
constexpr zip_uint64_t kLargestText = zip_uint64_t{1} << 20;
constexpr size_t kBlockSamples = 65536;

struct Chunk {
    uint64_t order; // the number after the capture file's name, 0 for the name alone
    zip_uint64_t index;
    std::string name;
    uint64_t bytes;
};

std::optional<uint64_t> WholeNumber(std::string_view text) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (failure != std::errc() || stop != end || text.empty())
        return std::nullopt;
    return value;
}

class SrReader final : public ForeignReader {
public:
    explicit SrReader(std::string path) : path_(std::move(path)) {}
    ~SrReader() override {
        if (archive_ != nullptr)
            zip_discard(archive_);
    }

    bool ReadLayout(FileLayout& layout, std::string& error) override {
        int code = 0;
        archive_ = zip_open(path_.c_str(), ZIP_RDONLY, &code);
        if (archive_ == nullptr) {
            error = "not a readable zip archive: " + ZipErrorText(code);
            return false;
        }
        std::string version;
        if (!ReadText("version", version, error))
            return false;
        version.erase(version.find_last_not_of(" \t\r\n") + 1);
        if (version != "1" && version != "2") {
            error = "session version '" + version.substr(0, 20) + "' is not one this program reads";
            return false;
        }
        std::string metadata;
        if (!ReadText("metadata", metadata, error))
            return false;
        return ReadDevice(ParseIni(metadata), layout, error) && FindChunks(error);
    }

    bool Replay(std::span<const uint32_t> lineMasks, SampleSink& sink, const ProgressHook& progress,
                uint64_t& endTick, std::string& error) override {
        BuildTables(lineMasks);
        uint64_t allBytes = 0;
        for (const Chunk& chunk : chunks_)
            allBytes += chunk.bytes;
        std::vector<uint8_t> bytes(kBlockSamples * unitSize_);
        std::vector<uint32_t> words(kBlockSamples);
        uint64_t tick = 0;
        uint64_t doneBytes = 0;
        bool wanted = true;
        for (const Chunk& chunk : chunks_) {
            if (!wanted)
                break;
            zip_file_t* file = zip_fopen_index(archive_, chunk.index, 0);
            if (file == nullptr) {
                error = "the chunk " + chunk.name + " cannot be opened: " + zip_strerror(archive_);
                return false;
            }
            uint64_t left = chunk.bytes;
            while (left > 0 && wanted) {
                const zip_uint64_t want = std::min<uint64_t>(left, bytes.size());
                const zip_int64_t got = ReadFully(file, bytes.data(), want);
                if (got != zip_int64_t(want)) {
                    error = "the chunk " + chunk.name + " cannot be expanded" +
                            (got < 0 ? std::string(": ") + zip_file_strerror(file)
                                     : std::string(": it ends early"));
                    zip_fclose(file);
                    return false;
                }
                const size_t samples = size_t(want) / unitSize_;
                ToWords(bytes.data(), words.data(), samples);
                wanted = sink.Samples(tick, {words.data(), samples});
                tick += samples;
                left -= want;
                doneBytes += want;
                if (progress)
                    progress(double(doneBytes) / double(std::max<uint64_t>(allBytes, 1)));
            }
            zip_fclose(file);
        }
        // Samples nobody wanted still count, as their chunks say.
        endTick = allBytes / unitSize_;
        return true;
    }

private:
    static zip_int64_t ReadFully(zip_file_t* file, uint8_t* into, zip_uint64_t want) {
        zip_uint64_t done = 0;
        while (done < want) {
            const zip_int64_t got = zip_fread(file, into + done, want - done);
            if (got < 0)
                return got;
            if (got == 0)
                break;
            done += zip_uint64_t(got);
        }
        return zip_int64_t(done);
    }

    bool ReadText(const char* name, std::string& text, std::string& error) {
        zip_stat_t status;
        zip_stat_init(&status);
        if (zip_stat(archive_, name, 0, &status) != 0) {
            error = std::string("the archive holds no ") + name + ": it is no session";
            return false;
        }
        if ((status.valid & ZIP_STAT_SIZE) == 0 || status.size > kLargestText) {
            error = std::string("the archive's ") + name + " is too large for a session's";
            return false;
        }
        zip_file_t* file = zip_fopen_index(archive_, status.index, 0);
        text.assign(size_t(status.size), '\0');
        const zip_int64_t got =
            file == nullptr ? -1
                            : ReadFully(file, reinterpret_cast<uint8_t*>(text.data()), status.size);
        if (got != zip_int64_t(status.size)) {
            error = std::string("the archive's ") + name + " cannot be read: " +
                    (file != nullptr ? zip_file_strerror(file) : zip_strerror(archive_));
            if (file != nullptr)
                zip_fclose(file);
            return false;
        }
        zip_fclose(file);
        return true;
    }

    bool ReadDevice(const std::vector<IniSection>& sections, FileLayout& layout,
                    std::string& error) {
        const auto device = std::find_if(sections.begin(), sections.end(), [](const auto& s) {
            return s.name.rfind("device ", 0) == 0 && s.Value("capturefile");
        });
        if (device == sections.end()) {
            error = "the metadata names no capture file of a device";
            return false;
        }
        captureFile_ = *device->Value("capturefile");
        const auto unitSize = WholeNumber(device->Value("unitsize").value_or(""));
        if (!unitSize || *unitSize < 1 || *unitSize > 8) {
            error = "a unitsize of '" + device->Value("unitsize").value_or("") +
                    "': a sample takes 1 to 8 bytes";
            return false;
        }
        unitSize_ = size_t(*unitSize);
        if (const auto rateText = device->Value("samplerate")) {
            const auto rate = ParseRateText(*rateText);
            if (!rate) {
                error = "the samplerate '" + rateText->substr(0, 30) + "' is not a rate";
                return false;
            }
            if (*rate == 0) {
                error = "a samplerate of 0";
                return false;
            }
            layout.recordedRate = *rate;
            layout.ticksPerSecond = {*rate, 1};
        }
        ReadProbes(*device, layout);
        const auto analog = WholeNumber(device->Value("total analog").value_or("0"));
        if (analog.value_or(0) > 0)
            layout.notes.push_back("The session's " + std::to_string(*analog) +
                                   " analog channels were ignored.");
        return true;
    }

    // Probe k is bit k - 1 whether or not the probes below it are listed; the unitsize, not the
    // probe count, says how many bits a sample has.
    void ReadProbes(const IniSection& device, FileLayout& layout) {
        const size_t bits = unitSize_ * 8;
        std::vector<std::string> beyond;
        for (const auto& [key, value] : device.keys) {
            if (key.rfind("probe", 0) != 0)
                continue;
            const auto number = WholeNumber(std::string_view(key).substr(5));
            if (!number || *number == 0)
                continue;
            if (*number > bits)
                beyond.push_back(value);
            else
                layout.channels.push_back({int(*number), value});
        }
        if (layout.channels.empty() && beyond.empty()) {
            const auto total = WholeNumber(device.Value("total probes").value_or(""));
            for (size_t k = 1; k <= std::min<uint64_t>(total.value_or(bits), bits); ++k)
                layout.channels.push_back({int(k), ""});
        }
        std::sort(layout.channels.begin(), layout.channels.end(),
                  [](const FileChannel& a, const FileChannel& b) { return a.number < b.number; });
        if (!beyond.empty())
            layout.notes.push_back("Probes beyond the " + std::to_string(bits) +
                                   " bits of a sample carry no data and were ignored: " +
                                   std::to_string(beyond.size()) + ".");
        bitOfChannel_.clear();
        for (const FileChannel& channel : layout.channels)
            bitOfChannel_.push_back(size_t(channel.number - 1));
    }

    bool FindChunks(std::string& error) {
        const zip_int64_t entries = zip_get_num_entries(archive_, 0);
        for (zip_int64_t i = 0; i < entries; ++i) {
            const char* entryName = zip_get_name(archive_, zip_uint64_t(i), 0);
            if (entryName == nullptr)
                continue;
            const std::string_view name(entryName);
            std::optional<uint64_t> order;
            if (name == captureFile_)
                order = 0;
            else if (name.size() > captureFile_.size() + 1 && name.rfind(captureFile_, 0) == 0 &&
                     name[captureFile_.size()] == '-')
                order = WholeNumber(name.substr(captureFile_.size() + 1));
            if (!order)
                continue;
            zip_stat_t status;
            zip_stat_init(&status);
            if (zip_stat_index(archive_, zip_uint64_t(i), 0, &status) != 0 ||
                (status.valid & ZIP_STAT_SIZE) == 0) {
                error = "the chunk " + std::string(name) + " has no size";
                return false;
            }
            if (status.size % unitSize_ != 0) {
                error = "the chunk " + std::string(name) + " holds " + std::to_string(status.size) +
                        " bytes, not whole samples of " + std::to_string(unitSize_) + " bytes";
                return false;
            }
            chunks_.push_back({*order, zip_uint64_t(i), std::string(name), status.size});
        }
        if (chunks_.empty()) {
            error = "the archive holds no samples under '" + captureFile_.substr(0, 40) + "'";
            return false;
        }
        std::stable_sort(chunks_.begin(), chunks_.end(),
                         [](const Chunk& a, const Chunk& b) { return a.order < b.order; });
        return true;
    }

    // A word from each byte of a sample through one table per byte.
    void BuildTables(std::span<const uint32_t> lineMasks) {
        tables_.assign(unitSize_, {});
        for (size_t c = 0; c < bitOfChannel_.size(); ++c) {
            const size_t bit = bitOfChannel_[c];
            for (size_t value = 0; value < 256; ++value) {
                if ((value >> (bit % 8)) & 1)
                    tables_[bit / 8][value] |= lineMasks[c];
            }
        }
    }

    // The common widths with their byte count fixed (0: the unitsize), so that each sample is a
    // few lookups.
    template <size_t Fixed>
    void ToWordsOf(const uint8_t* bytes, uint32_t* words, size_t samples) const {
        const size_t unit = Fixed != 0 ? Fixed : unitSize_;
        for (size_t i = 0; i < samples; ++i, bytes += unit) {
            uint32_t word = 0;
            for (size_t b = 0; b < unit; ++b)
                word |= tables_[b][bytes[b]];
            words[i] = word;
        }
    }

    void ToWords(const uint8_t* bytes, uint32_t* words, size_t samples) const {
        switch (unitSize_) {
        case 1:
            return ToWordsOf<1>(bytes, words, samples);
        case 2:
            return ToWordsOf<2>(bytes, words, samples);
        case 3:
            return ToWordsOf<3>(bytes, words, samples);
        case 4:
            return ToWordsOf<4>(bytes, words, samples);
        default:
            return ToWordsOf<0>(bytes, words, samples);
        }
    }

    std::string path_;
    zip_t* archive_ = nullptr;
    std::string captureFile_;
    size_t unitSize_ = 1;
    std::vector<size_t> bitOfChannel_;
    std::vector<Chunk> chunks_;
    std::vector<std::array<uint32_t, 256>> tables_;
};

} // namespace

std::unique_ptr<ForeignReader> MakeSrReader(const std::string& path) {
    return std::make_unique<SrReader>(path);
}

} // namespace norrik::interchange
