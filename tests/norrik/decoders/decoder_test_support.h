// Runs a decoder over samples held by a test and records what a decoder window would show.
#pragma once

#include "decoders/decode_procedure.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace decoder_test {

// A scratch file of the test's own, so that tests running side by side do not share one.
inline std::string ScratchPath() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return testing::TempDir() + name + ".fil";
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The application state a run starts from, over the test's samples (24 MS/s unless changed).
inline norrik::decoders::DecodeContext Context(const std::vector<uint32_t>& samples,
                                               int32_t screenStart = 0) {
    norrik::decoders::DecodeContext context;
    context.samples = norrik::decoders::SampleReader(std::span<const uint32_t>(samples));
    context.screenStart = screenStart;
    context.bufferSamples = static_cast<int32_t>(samples.size());
    context.rateCode = 247;
    context.scratchFile = ScratchPath();
    return context;
}

// A reader that reads `samples` one call per sample, as the library's LoggedData is read; one
// such reader at a time.
inline norrik::decoders::SampleReader LibraryReader(const std::vector<uint32_t>& samples) {
    static const std::vector<uint32_t>* held = nullptr;
    held = &samples;
    return norrik::decoders::SampleReader([](uint32_t index) -> int32_t {
        if (held->empty())
            return 0;
        return static_cast<int32_t>((*held)[std::min<size_t>(index, held->size() - 1)]);
    });
}

// What the window showed during and after a run.
struct Shown {
    std::string text;                  // Text1 at the end
    std::vector<int32_t> screenStarts; // every ScreenStart the run set; the last is the origin
    std::vector<double> progress;      // every progress-bar fraction drawn
    int events = 0;                    // times pending window events were let run
    int additions = 0;                 // times text was added to Text1
    bool scratchFileWritten = false;
    bool cancelled = false;
};

// `run(context, hooks)` is one of the Run...Decode functions with its settings bound;
// `adjust` may change the hooks before the run.
template <typename Run>
Shown Show(const norrik::decoders::DecodeContext& context, Run run, std::string text = {},
           const std::function<void(norrik::decoders::DecodeHooks&)>& adjust = {}) {
    Shown shown;
    shown.text = std::move(text);
    norrik::decoders::DecodeHooks hooks = norrik::decoders::TextHooks(shown.text);
    hooks.appendText = [&](const std::string& addition) {
        shown.text += addition;
        ++shown.additions;
    };
    hooks.setScreenStart = [&](int32_t position) { shown.screenStarts.push_back(position); };
    hooks.progress = [&](double fraction) { shown.progress.push_back(fraction); };
    hooks.processEvents = [&] { ++shown.events; };
    if (adjust)
        adjust(hooks);
    const norrik::decoders::DecodeOutcome outcome = run(context, hooks);
    shown.scratchFileWritten = outcome.scratchFileWritten;
    shown.cancelled = outcome.cancelled;
    return shown;
}

} // namespace decoder_test
