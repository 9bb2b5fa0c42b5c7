// The read-outs of the X and O cursors, the trigger and the time from X to O, refreshed by every
// redraw, and the three buttons that choose what times are relative to.
#include "form1.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "view/readout_texts.h"
#include "view/sample_position_text.h"

#include <QRadioButton>

namespace norrik {

void Form1::RefreshReadouts() {
    const auto at = [](int32_t sample) {
        return static_cast<uint32_t>(Podcore().LoggedData(static_cast<uint32_t>(sample)));
    };
    const ReadoutTexts texts =
        InternalCLK->isChecked()
            ? TimeReadouts(state_)
            : SampleWordReadouts(at(state_.XCursor), at(state_.OCursor), at(state_.TriggerSample));
    const bool timed = InternalCLK->isChecked();
    const struct {
        PictureSurface* surface;
        QRgb ink;
        const std::string& text;
        std::string exact; // the sample numbers and time behind the text, for its tool tip
    } readOuts[] = {
        {XValue, 0xFF000080, texts.x, SamplePositionText(state_, state_.XCursor, timed)},
        {TValue, 0xFF800000, texts.trigger,
         SamplePositionText(state_, state_.TriggerSample, timed)},
        {OValue, 0xFF008000, texts.o, SamplePositionText(state_, state_.OCursor, timed)},
        {XtoOValue, 0xFF000000, texts.xToO, CursorSpanText(state_, timed)},
    };
    for (const auto& readOut : readOuts) {
        PictureSurface* surface = readOut.surface;
        surface->Cls();
        stripText_.Write(surface->Picture(), 0, 0, StripFont::Plain, readOut.ink,
                         QString::fromStdString(readOut.text));
        surface->update();
        // The tool tip's first line says what the read-out is; the second line is replaced.
        surface->setToolTip(surface->toolTip().section('\n', 0, 0) + '\n' +
                            QString::fromStdString(readOut.exact));
    }
}

void Form1::Command12_Click() {
    state_.TimeReference = kTriggerReference;
    RedrawWaveforms();
}

void Form1::Command13_Click() {
    state_.TimeReference = kXReference;
    RedrawWaveforms();
}

void Form1::Command14_Click() {
    state_.TimeReference = kOReference;
    RedrawWaveforms();
}

} // namespace norrik
