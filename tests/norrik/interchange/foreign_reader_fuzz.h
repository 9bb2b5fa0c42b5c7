// Feeds arbitrary bytes to a foreign format's reader through the reading rules, checking what
// any result must hold. Built as one fuzzer per format by scripts/fuzz-files and replayed over
// the kept inputs by the test suite.
#pragma once

#include "interchange/capture_format.h"

#include <cstddef>
#include <cstdint>

namespace norrik::interchange::testing {

int FuzzForeignReader(CaptureFormat format, const uint8_t* data, size_t size);

} // namespace norrik::interchange::testing
