#include "capture_decode.h"

#include "app/open_sizing.h"
#include "podcore_api.h"

#include <array>

namespace norrik::cli {
namespace {

// The 53 settings fields of a capture file; the decoders need only the rate code of them.
struct FileFields {
    uint8_t rateCode = 0;
    uint32_t sampleCount = 0;
    std::array<uint8_t, 43> bytes{};
    std::array<uint32_t, 8> words{};
};

int32_t OpenWithFields(PodcoreApi& pod, FileFields& f, const char* name) {
    uint8_t* b = f.bytes.data();
    uint32_t* w = f.words.data();
    return pod.OpenFileDataAndConfig(
        &f.rateCode, &f.sampleCount, b, b + 1, b + 2, b + 3, b + 4, b + 5, b + 6, b + 7, b + 8,
        b + 9, b + 10, b + 11, b + 12, b + 13, b + 14, b + 15, b + 16, b + 17, b + 18, b + 19,
        b + 20, b + 21, b + 22, b + 23, b + 24, b + 25, b + 26, b + 27, b + 28, b + 29, b + 30,
        b + 31, b + 32, b + 33, b + 34, b + 35, b + 36, b + 37, b + 38, b + 39, b + 40, b + 41,
        b + 42, w, w + 1, w + 2, w + 3, w + 4, w + 5, w + 6, w + 7, name);
}

} // namespace

bool OpenCaptureFile(const std::string& file, OpenedCapture& capture, std::string& error) {
    PodcoreApi& pod = Podcore();
    const char* name = file.c_str();
    uint32_t count = 0;
    if (pod.GetFileBufferSize(&count, name) == 0 && count == 0) {
        error = "cannot read capture file '" + file + "'";
        return false;
    }
    const auto maxSamples = static_cast<int32_t>(pod.GetMaxBufferSize());
    const OpenSizing sizing = SizeForOpen(count, 0, maxSamples);
    uint32_t* buffer = pod.MakeBuffer(static_cast<uint32_t>(sizing.bufferSamples));
    if (buffer == nullptr) {
        error = "cannot make a buffer of " + std::to_string(sizing.bufferSamples) +
                " samples for '" + file + "'";
        return false;
    }
    FileFields fields;
    if (OpenWithFields(pod, fields, name) == 0 && count != 0) {
        error = "cannot read the samples of '" + file + "'";
        return false;
    }
    capture.bufferSamples = sizing.bufferSamples;
    capture.rateCode = fields.rateCode;
    return true;
}

bool DecodeCaptureFile(const CliRequest& request, std::string& text, std::string& error) {
    OpenedCapture capture;
    if (!OpenCaptureFile(request.file, capture, error))
        return false;
    decoders::DecodeContext context{decoders::SampleReader(Podcore().LoggedData)};
    context.screenStart = request.start;
    context.bufferSamples = capture.bufferSamples;
    context.rateCode = capture.rateCode;
    const decoders::DecodeHooks hooks = decoders::TextHooks(text);
    switch (request.decoder) {
    case decoders::DecoderKind::Serial:
        decoders::RunSerialDecode(context, request.serial, hooks);
        break;
    case decoders::DecoderKind::TwoWire:
        decoders::RunTwoWireDecode(context, request.twoWire, hooks);
        break;
    case decoders::DecoderKind::Spi:
        decoders::RunSpiDecode(context, request.spi, hooks);
        break;
    }
    return true;
}

} // namespace norrik::cli
