// Sample buffer exports: allocation, demo data and sample access.
#include "analysis/summary_cache.h"
#include "buffer/sample_buffer.h"
#include "exports/guard.h"
#include "exports/podcore.h"

using namespace podcore;

uint32_t GetMaxBufferSize() {
    return Guarded<uint32_t>(0, [] { return buffer::AdvisedSamples(buffer::FreePhysicalMemory()); });
}

uint32_t* MakeBuffer(uint32_t samples) {
    return Guarded<uint32_t*>(nullptr, [&] { return buffer::Make(samples); });
}

int32_t DeleteBuffer(uint32_t* buffer) {
    return buffer::Delete(buffer);
}

int32_t LoggedData(uint32_t index) {
    return buffer::Sample(index);
}

int32_t DemoData() {
    buffer::FillDemoPattern();
    analysis::SummariseLibraryBuffer();
    return 1;
}

int32_t Copy(int32_t first, int32_t last) {
    return buffer::CopyToFile(first, last, "copy");
}
