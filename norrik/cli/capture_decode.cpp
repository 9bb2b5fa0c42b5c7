#include "capture_decode.h"

#include "app/capture_file_fields.h"
#include "app/open_sizing.h"
#include "podcore_api.h"

namespace norrik::cli {

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
    CaptureFileFields fields;
    if (norrik::OpenCaptureFile(pod, fields, name) == 0 && count != 0) {
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
