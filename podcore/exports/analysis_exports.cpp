// Sample analysis exports: screen scaling, run vectors and pattern search.
#include "analysis/screen_scaling.h"
#include "analysis/search.h"
#include "analysis/vectors.h"
#include "exports/guard.h"
#include "exports/podcore.h"

using namespace podcore;

void ScaleDataToScreen(const uint32_t* source, uint8_t* bit0, uint8_t* bit1, uint8_t* bit2,
                       uint8_t* bit3, uint8_t* bit4, uint8_t* bit5, uint8_t* bit6,
                       uint8_t* bit7, uint8_t* bit8, uint8_t* bit9, uint8_t* bit10,
                       uint8_t* bit11, uint8_t* bit12, uint8_t* bit13, uint8_t* bit14,
                       uint8_t* bit15, uint8_t* bit16, uint8_t* bit17, uint8_t* bit18,
                       uint8_t* bit19, uint8_t* bit20, int32_t start, uint32_t length,
                       uint32_t scale, uint32_t subscale) {
    const analysis::ColumnOutputs outputs{bit0,  bit1,  bit2,  bit3,  bit4,  bit5,  bit6,
                                          bit7,  bit8,  bit9,  bit10, bit11, bit12, bit13,
                                          bit14, bit15, bit16, bit17, bit18, bit19, bit20};
    Guarded([&] {
        analysis::ScaleDataToScreen(source, outputs, {start, length, scale, subscale});
    });
}

void CreateVectors(const uint8_t* levels, uint32_t* vectors, uint32_t count) {
    Guarded([&] { analysis::CreateVectors(levels, vectors, count); });
}

int32_t SearchForTrigger(const uint8_t* pattern, uint32_t stepCount, uint32_t from,
                         uint32_t forward) {
    return Guarded<int32_t>(
        -1, [&] { return analysis::SearchForTrigger(pattern, stepCount, from, forward); });
}
