// The one interface every foreign format is read and written through. A reader tells what a file
// holds (its channels and its time base) and then replays its samples on that time base; the
// reading rules, the same for every format, decide the lines, the rate and the size. A writer
// writes the twenty lines of a capture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace norrik::interchange {

// A positive rational number, such as ticks per second.
struct Fraction {
    uint64_t num = 0;
    uint64_t den = 1;
};

struct FileChannel {
    int number;       // counted from 1: a session's probe number, else the place in the file
    std::string name; // may be empty
};

struct FileLayout {
    std::vector<FileChannel> channels;
    // Ticks per second of the replayed samples; num 0 when the file has no time base at all
    // (numbered samples of an unknown rate).
    Fraction ticksPerSecond{0, 1};
    // The sample rate the file records, in Hz. With it, ticks are samples at this rate.
    std::optional<uint64_t> recordedRate;
    // What the reader left out, told to the user.
    std::vector<std::string> notes;
};

// Receives a file's samples in time order. Both calls answer whether more are wanted.
class SampleSink {
public:
    virtual ~SampleSink() = default;
    // The lines hold `word` from `tick` on; ticks never go back.
    virtual bool Change(uint64_t tick, uint32_t word) = 0;
    // One sample per tick from `firstTick` on.
    virtual bool Samples(uint64_t firstTick, std::span<const uint32_t> words) = 0;
};

// Called now and then with the share of the work done, 0 to 1.
using ProgressHook = std::function<void(double done)>;

class ForeignReader {
public:
    virtual ~ForeignReader() = default;
    // False with a one-line reason when the file is no readable file of the format.
    virtual bool ReadLayout(FileLayout& layout, std::string& error) = 0;
    // Replays the samples with channel k's bit at `lineMasks[k]` (0 drops it); may be called
    // more than once. `endTick` receives the tick where the data ends.
    virtual bool Replay(std::span<const uint32_t> lineMasks, SampleSink& sink,
                        const ProgressHook& progress, uint64_t& endTick, std::string& error) = 0;
};

// The samples a writer writes: the twenty lines of each word, at one of the nine rates.
struct CaptureSamples {
    const uint32_t* samples = nullptr;
    size_t count = 0;
    uint64_t rateHz = 0;
};

enum class CsvRows { Changes, Samples };

struct WriteOptions {
    CsvRows csvRows = CsvRows::Changes;
};

class ForeignWriter {
public:
    virtual ~ForeignWriter() = default;
    // Writes the whole file or, on failure, leaves any earlier file of that name as it was.
    virtual bool Write(const CaptureSamples& capture, const std::string& path,
                       const ProgressHook& progress, std::string& error) = 0;
};

} // namespace norrik::interchange
