#include "interchange/foreign_formats.h"

namespace norrik::interchange {

std::unique_ptr<ForeignReader> MakeReader(CaptureFormat format, const std::string& path) {
    switch (format) {
    case CaptureFormat::Sr:
        return MakeSrReader(path);
    case CaptureFormat::Vcd:
        return MakeVcdReader(path);
    case CaptureFormat::Csv:
        return MakeCsvReader(path);
    case CaptureFormat::Nrk:
        break;
    }
    return nullptr;
}

std::unique_ptr<ForeignWriter> MakeWriter(CaptureFormat format, const WriteOptions& options) {
    switch (format) {
    case CaptureFormat::Sr:
        return MakeSrWriter();
    case CaptureFormat::Vcd:
        return MakeVcdWriter();
    case CaptureFormat::Csv:
        return MakeCsvWriter(options.csvRows);
    case CaptureFormat::Nrk:
        break;
    }
    return nullptr;
}

} // namespace norrik::interchange
