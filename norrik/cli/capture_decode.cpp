#include "capture_decode.h"

#include "app/capture_file_fields.h"
#include "interchange/capture_io.h"
#include "podcore_api.h"

namespace norrik::cli {

bool DecodeCaptureFile(const CliRequest& request,
                       const std::function<void(std::string_view)>& write,
                       std::vector<std::string>& notes, std::string& error) {
    interchange::OpenedCapture capture;
    if (!interchange::OpenCaptureIntoBuffer(Podcore(), request.file, std::nullopt, capture,
                                            error)) {
        error = "cannot read '" + request.file + "': " + error;
        return false;
    }
    notes = capture.notes;
    decoders::DecodeContext context{
        decoders::ReaderOfBuffer(capture.buffer, capture.bufferSamples)};
    context.screenStart = request.start;
    context.bufferSamples = capture.bufferSamples;
    context.rateCode = capture.fields.rateCode;
    std::string text;
    decoders::DecodeHooks hooks = decoders::TextHooks(text);
    std::optional<decoders::ItemRecords> records;
    if (request.records) {
        const auto rate =
            static_cast<uint32_t>(decoders::SampleRateOfCode(context.rateCode) / 1e6);
        records.emplace(*request.records, request.decoder, rate, TriggerSampleOf(capture.fields),
                        write);
        hooks.items = &*records;
    }
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
    if (!records) {
        write(text);
        return true;
    }
    // A problem stops the run before its first item, and nothing is written.
    if (!records->Problems().empty()) {
        error = records->Problems().front();
        return false;
    }
    records->Flush();
    return true;
}

} // namespace norrik::cli
