#include "view/readout_texts.h"

#include "app/number_text.h"
#include "view/sample_time.h"

namespace norrik {

ReadoutTexts TimeReadouts(const AppState& state) {
    AppState fromX = state;
    fromX.TimeReference = kXReference;
    const float xToO = TimeOfSample(fromX, state.OCursor);
    return {" " + FormatSampleTime(state, state.XCursor),
            " " + FormatSampleTime(state, state.OCursor),
            " " + FormatSampleTime(state, state.TriggerSample), " " + FormatTimeNs(xToO)};
}

ReadoutTexts SampleWordReadouts(uint32_t atX, uint32_t atO, uint32_t atTrigger) {
    return {" Hex: " + HexText(atX), " Hex: " + HexText(atO), " Hex: " + HexText(atTrigger), " "};
}

} // namespace norrik
