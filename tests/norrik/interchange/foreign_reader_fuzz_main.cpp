// The libFuzzer entry of one foreign format's fuzzer; scripts/fuzz-files builds it once per
// format, naming the format in FUZZ_FORMAT.
#include "foreign_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using norrik::interchange::CaptureFormat;
    return norrik::interchange::testing::FuzzForeignReader(CaptureFormat::FUZZ_FORMAT, data, size);
}
