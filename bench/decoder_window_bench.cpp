// The SPI window's run end to end, from the decode button to "Complete" with the text in its
// box, over 268,435,456 samples of dense SPI in "Both" mode (another count may be given as the
// argument), against the engine alone writing the same text to memory in the same run.
// Targets: the window takes at most 1.5 times the engine's time, and its peak resident size is
// at most the buffer plus 300 MB.
#include "decoders/spi_decoder.h"
#include "decoders_ui/spi_window.h"
#include "harness.h"
#include "offscreen_window.h"
#include "waveforms.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using namespace norrik;

constexpr uint32_t kDefaultSamples = 268'435'456;
constexpr double kTimeTarget = 1.5;
constexpr double kResidentAllowance = 300e6;

// 256-byte transfers at 4 MHz, framed by SS on P5, clock on P1, SO on P2, SI on P3: one frame,
// repeated over the buffer.
std::vector<uint32_t> SpiFrame() {
    constexpr uint32_t kSelect = 1u << 5;
    const waveforms::SpiLines lines{1u << 1, 1u << 2, 1u << 3, 3, false, false};
    waveforms::Capture frame(kSelect);
    frame.Hold(12);
    frame.SetAndHold(kSelect, false, 3);
    for (unsigned byte = 0; byte < 256; ++byte)
        waveforms::AppendSpiByte(frame, lines, static_cast<uint8_t>(byte),
                                 static_cast<uint8_t>(255 - byte));
    return frame.Samples();
}

void FillWithFrames(uint32_t* buffer, uint32_t samples) {
    const std::vector<uint32_t> frame = SpiFrame();
    for (uint32_t at = 0; at < samples; at += static_cast<uint32_t>(frame.size())) {
        const size_t count = std::min<size_t>(frame.size(), samples - at);
        std::memcpy(buffer + at, frame.data(), count * sizeof(uint32_t));
    }
}

decoders::SpiSettings Settings() {
    decoders::SpiSettings settings;
    settings.slaveSelect = "P5";
    settings.clock = "P1";
    settings.dataOut = "P2";
    settings.dataIn = "P3";
    settings.display = decoders::DisplayMode::Both;
    return settings;
}

// The peak resident size is measured from here on.
void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) * 1024;
    }
    return 0;
}

struct Measured {
    double seconds = 0;
    double peakResident = 0;
};

template <typename Work> Measured Measure(Work&& work) {
    ResetPeakResident();
    Measured measured;
    measured.seconds = bench::MedianSeconds(1, work);
    measured.peakResident = PeakResidentBytes();
    return measured;
}

} // namespace

int main(int argc, char* argv[]) {
    const uint32_t samples =
        argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : kDefaultSamples;
    bench::PrepareOffscreen("bench_decoder_window");
    QApplication application(argc, argv);
    if (!bench::BindBuiltPodcore())
        return 1;
    const QTemporaryDir folder; // the window's scratch file goes here
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        return 1;

    PodcoreApi& pod = Podcore();
    AppState state;
    state.SampleBuffer = pod.MakeBuffer(samples);
    if (state.SampleBuffer == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", samples);
        return 1;
    }
    state.BufferSamples = static_cast<int32_t>(samples);
    state.RateCode = {247, 247};
    FillWithFrames(state.SampleBuffer, samples);
    const double bufferBytes = double(samples) * sizeof(uint32_t);

    std::string engineText;
    const Measured engine = Measure([&] {
        decoders::DecodeContext context{decoders::SampleReader(pod.LoggedData)};
        context.bufferSamples = state.BufferSamples;
        context.rateCode = state.RateCode[0];
        context.scratchFile = "/dev/null";
        engineText.clear();
        decoders::RunSpiDecode(context, Settings(), decoders::TextHooks(engineText));
    });
    const size_t engineBytes = engineText.size();
    const bool engineWrote = engineText.find("'A' = 0x41") != std::string::npos;
    const std::string engineStart = engineText.substr(0, DecoderWindow::kShownBytes);
    engineText = std::string(); // the window's peak must not include it

    SPI window(state, nullptr);
    window.SSsignal->setCurrentText("P5");
    window.SCKsignal->setCurrentText("P1");
    window.SOsignal->setCurrentText("P2");
    window.SIsignal->setCurrentText("P3");
    window.Both->setChecked(true);
    window.show();
    const Measured shown = Measure([&] { window.Command1->click(); });

    // The box holds the start of the engine's text, the scratch file all of it after the header.
    const std::string& box = window.OutputText();
    const size_t lastLine = box.rfind("\r\n... ");
    const bool complete = window.Status->text() == "Complete";
    const bool boxMatches =
        lastLine != std::string::npos && engineStart.starts_with(box.substr(0, lastLine + 2));
    const qint64 header = qint64(decoders::HeaderText(decoders::DecoderKind::Spi).size());
    const bool scratchMatches =
        QFileInfo(DecoderWindow::kScratchFile).size() + header == qint64(engineBytes);

    std::printf("%u samples of dense SPI, \"Both\" mode, %.1f MB of text\n", samples,
                double(engineBytes) / 1e6);
    bench::Figure("engine alone, text to memory", engine.seconds, "s");
    bench::Figure("engine alone, peak resident", engine.peakResident / 1e6, "MB");
    bench::Figure("window, decode button to Complete", shown.seconds, "s");
    bench::Figure("window, peak resident", shown.peakResident / 1e6, "MB");
    bench::Figure("buffer", bufferBytes / 1e6, "MB");
    const bool fast =
        bench::Ratio("window / engine time", shown.seconds / engine.seconds, kTimeTarget, false);
    const bool small =
        bench::Ratio("window peak resident / (buffer + 300 MB)",
                     shown.peakResident / (bufferBytes + kResidentAllowance), 1.0, false);
    std::printf("output checks: engine wrote bytes %s, window Complete %s, box is the text's "
                "start %s, scratch file whole %s\n",
                engineWrote ? "yes" : "NO", complete ? "yes" : "NO", boxMatches ? "yes" : "NO",
                scratchMatches ? "yes" : "NO");
    pod.DeleteBuffer(state.SampleBuffer);
    return fast && small && engineWrote && complete && boxMatches && scratchMatches ? 0 : 1;
}
