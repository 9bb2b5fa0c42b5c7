#include "capture_decode.h"

#include "app/capture_file_fields.h"
#include "app/open_sizing.h"
#include "podcore_api.h"

namespace norrik::cli {

bool DecodeCaptureFile(const CliRequest& request, std::string& text, std::string& error) {
    PodcoreApi& pod = Podcore();
    const char* name = request.file.c_str();
    uint32_t count = 0;
    if (pod.GetFileBufferSize(&count, name) == 0 && count == 0) {
        error = "cannot read capture file '" + request.file + "'";
        return false;
    }
    const auto maxSamples = static_cast<int32_t>(pod.GetMaxBufferSize());
    const OpenSizing sizing = SizeForOpen(count, 0, maxSamples);
    uint32_t* buffer = pod.MakeBuffer(static_cast<uint32_t>(sizing.bufferSamples));
    if (buffer == nullptr) {
        error = "cannot make a buffer of " + std::to_string(sizing.bufferSamples) +
                " samples for '" + request.file + "'";
        return false;
    }
    CaptureFileFields fields;
    if (OpenCaptureFile(pod, fields, name) == 0 && count != 0) {
        error = "cannot read the samples of '" + request.file + "'";
        return false;
    }

    decoders::DecodeContext context{decoders::SampleReader(pod.LoggedData)};
    context.screenStart = request.start;
    context.bufferSamples = sizing.bufferSamples;
    context.rateCode = fields.rateCode;
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
