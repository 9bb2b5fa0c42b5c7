// Sample buffer exports: allocation, demo data and sample access.
#include "analysis/summary_cache.h"
#include "buffer/sample_buffer.h"
#include "exports/capture_guard.h"
#include "exports/podcore.h"

using namespace podcore;

uint32_t GetMaxBufferSize() {
    return Guarded<uint32_t>(0,
                             [] { return buffer::AdvisedSamples(buffer::FreePhysicalMemory()); });
}

uint32_t* MakeBuffer(uint32_t samples) {
    return GuardedUnlessCapturing<uint32_t*>("MakeBuffer", nullptr,
                                             [&] { return buffer::Make(samples); });
}

int32_t DeleteBuffer(uint32_t* buffer) {
    return GuardedUnlessCapturing("DeleteBuffer", 0, [&] { return buffer::Delete(buffer); });
}

int32_t LoggedData(uint32_t index) {
    return buffer::Sample(index);
}

int32_t DemoData() {
    return GuardedUnlessCapturing("DemoData", 0, [] {
        buffer::FillDemoPattern();
        analysis::SummariseLibraryBuffer();
        return 1;
    });
}

int32_t Copy(int32_t first, int32_t last) {
    return buffer::CopyToFile(first, last, "copy");
}
