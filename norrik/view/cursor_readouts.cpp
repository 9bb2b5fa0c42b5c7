// The read-outs of the X and O cursors, the trigger and the time from X to O, refreshed by every
// redraw, and the three buttons that choose what times are relative to.
#include "form1.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "view/readout_texts.h"

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
    const std::pair<PictureSurface*, std::pair<QRgb, const std::string&>> readOuts[] = {
        {XValue, {0xFF000080, texts.x}},
        {TValue, {0xFF800000, texts.trigger}},
        {OValue, {0xFF008000, texts.o}},
        {XtoOValue, {0xFF000000, texts.xToO}},
    };
    for (const auto& [surface, text] : readOuts) {
        surface->Cls();
        stripText_.Write(surface->Picture(), 0, 0, StripFont::Plain, text.first,
                         QString::fromStdString(text.second));
        surface->update();
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
