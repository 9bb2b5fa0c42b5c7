#include "interchange/capture_io.h"

#include "app/acquisition_settings.h"
#include "interchange/buffer_plan.h"
#include "interchange/buffer_reader.h"
#include "interchange/foreign_formats.h"
#include "interchange/foreign_read.h"
#include "interchange/nrk_file.h"

namespace norrik::interchange {
namespace {

// Frees the buffer there was and makes one of the planned size.
bool ReplaceBuffer(PodcoreApi& pod, OpenedCapture& opened, int32_t samples, std::string& error) {
    if (opened.buffer != nullptr)
        pod.DeleteBuffer(opened.buffer);
    opened.buffer = pod.MakeBuffer(uint32_t(samples));
    opened.bufferSamples = opened.buffer == nullptr ? 0 : samples;
    if (opened.buffer == nullptr)
        error = "cannot make a buffer of " + std::to_string(samples) + " samples";
    return opened.buffer != nullptr;
}

bool InstallForeign(PodcoreApi& pod, ForeignCapture& capture, OpenedCapture& opened,
                    std::string& error) {
    const BufferPlan plan =
        PlanBuffer(capture.samples.size(), opened.bufferSamples, int32_t(pod.GetMaxBufferSize()));
    if (!ReplaceBuffer(pod, opened, plan.bufferSamples, error))
        return false;
    InstallSamples(capture.samples, opened.buffer, opened.bufferSamples);
    opened.fields = FieldsOfSamplesAlone(capture.rateCode, opened.bufferSamples);
    opened.notes.insert(opened.notes.end(), capture.notes.begin(), capture.notes.end());
    return true;
}

bool OpenNrk(PodcoreApi& pod, const std::string& path, std::optional<uint8_t> rateCode,
             OpenedCapture& opened, std::string& error) {
    NrkCheck check;
    if (!CheckNrkFile(pod, path, check, error))
        return false;
    const BufferPlan plan =
        PlanBuffer(check.Readable(), opened.bufferSamples, int32_t(pod.GetMaxBufferSize()));
    if (!ReplaceBuffer(pod, opened, plan.bufferSamples, error))
        return false;
    const int32_t read = OpenCaptureFile(pod, opened.fields, path.c_str());
    if (read <= 0) {
        error = "cannot read the samples";
        return false;
    }
    FillPastEnd(opened.buffer, opened.bufferSamples, uint32_t(read));
    opened.fields.sampleCount = uint32_t(opened.bufferSamples);
    opened.notes = NrkNotes(check, plan);

    const std::optional<uint64_t> fileRate = RateHzOfCode(opened.fields.rateCode);
    if (!rateCode || *rateCode == opened.fields.rateCode || !fileRate)
        return true;
    // Another rate asked for: the samples read again by the rules every format follows.
    BufferReader reader(opened.buffer, size_t(read), *fileRate);
    ForeignCapture capture;
    if (!ReadForeignCapture(reader, {rateCode, pod.GetMaxBufferSize()}, {}, capture, error))
        return false;
    return InstallForeign(pod, capture, opened, error);
}

} // namespace

bool OpenCaptureIntoBuffer(PodcoreApi& pod, const std::string& path,
                           std::optional<uint8_t> rateCode, OpenedCapture& opened,
                           std::string& error) {
    if (!FormatOfContent(path, opened.format, error))
        return false;
    if (opened.format == CaptureFormat::Nrk)
        return OpenNrk(pod, path, rateCode, opened, error);
    ForeignCapture capture;
    return ReadForeignFile(opened.format, path, {rateCode, pod.GetMaxBufferSize()}, {}, capture,
                           error) &&
           InstallForeign(pod, capture, opened, error);
}

std::optional<CaptureFormat> OutputFormat(const std::string& path,
                                          std::optional<CaptureFormat> asked) {
    return asked ? asked : FormatOfExtension(path);
}

bool WriteBufferToFile(PodcoreApi& pod, const uint32_t* buffer, CaptureFileFields fields,
                       const std::string& path, CaptureFormat format, const WriteOptions& options,
                       const ProgressHook& progress, std::string& error) {
    if (format == CaptureFormat::Nrk) {
        if (SaveCaptureFile(pod, fields, path.c_str()) != 0)
            return true;
        error = "cannot write the file";
        return false;
    }
    const std::optional<uint64_t> rate = RateHzOfCode(fields.rateCode);
    if (!rate) {
        error = "the capture's rate code " + std::to_string(fields.rateCode) +
                " is none of the nine rates, which ." + std::string(FormatName(format)) +
                " files must record";
        return false;
    }
    if (buffer == nullptr || fields.sampleCount == 0) {
        error = "there are no samples to write";
        return false;
    }
    return MakeWriter(format, options)
        ->Write({buffer, fields.sampleCount, *rate}, path, progress, error);
}

} // namespace norrik::interchange
