// The reader and the writer of each foreign format.
#pragma once

#include "interchange/capture_format.h"
#include "interchange/foreign_format.h"

#include <memory>
#include <string>

namespace norrik::interchange {

std::unique_ptr<ForeignReader> MakeSrReader(const std::string& path);
std::unique_ptr<ForeignReader> MakeVcdReader(const std::string& path);
std::unique_ptr<ForeignReader> MakeCsvReader(const std::string& path);
std::unique_ptr<ForeignWriter> MakeSrWriter();
std::unique_ptr<ForeignWriter> MakeVcdWriter();
std::unique_ptr<ForeignWriter> MakeCsvWriter(CsvRows rows);

// The reader or writer of a foreign format; null for the program's own capture files.
std::unique_ptr<ForeignReader> MakeReader(CaptureFormat format, const std::string& path);
std::unique_ptr<ForeignWriter> MakeWriter(CaptureFormat format, const WriteOptions& options);

} // namespace norrik::interchange
