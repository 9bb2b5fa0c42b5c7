// The insta-measure on a waveform row: the measurement under the pointer in the chosen mode,
// drawn over a fresh redraw so that the previous position's marks disappear.
#include "form1.h"
#include "number_text.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "view/raster.h"
#include "view/row_drawing.h"
#include "view/sample_position_text.h"

#include <QCursor>
#include <QRadioButton>
#include <QToolTip>

namespace norrik {
namespace {

// The pixel row of the measurement line within a row picture of height h.
int MarkY(int rowHeight) {
    return static_cast<int>(RoundHalfEven(rowHeight / 2.0 + 3));
}

} // namespace

InstaMode Form1::SelectedInstaMode() const {
    if (InstaByte->isChecked())
        return InstaMode::Byte;
    if (InstaWidth->isChecked())
        return InstaMode::Width;
    if (InstaFreq->isChecked())
        return InstaMode::Frequency;
    if (InstaPeriod->isChecked())
        return InstaMode::Period;
    return InstaMode::Off;
}

void Form1::InstaOff_Click() {
    for (PictureSurface* wave : Wave)
        wave->setToolTip({});
    RedrawWaveforms();
}

// The library's own search would read the whole buffer at every move over a quiet line; this
// one gives its results from the samples and their summary.
int32_t Form1::InstaSearch(SampleStep step, uint32_t from, bool forward) {
    const std::span<const uint32_t> samples = CaptureSamples(state_);
    if (CaptureBusy())
        sampleSummary_ = SampleSummary::Blank(samples); // the buffer may still be written
    else if (!sampleSummary_.Describes(samples))
        sampleSummary_ = SampleSummary(samples);
    return forward ? SearchStepForward(sampleSummary_, step, from)
                   : SearchStepBackward(sampleSummary_, step, from);
}

void Form1::InstaMeasure(int row, double x) {
    const InstaMode mode = SelectedInstaMode();
    if (mode == InstaMode::Off)
        return;
    const int32_t s = InstaSample(state_, x);
    const auto value = static_cast<uint32_t>(Podcore().LoggedData(static_cast<uint32_t>(s)));
    PictureSurface* wave = Wave[static_cast<size_t>(row)];
    if (mode == InstaMode::Byte) {
        RedrawWaveforms();
        DrawByteMark(row, x, value);
        ShowInstaDetail(wave, InstaMeasureText(state_, mode, {}, s, value, false));
        return;
    }
    const uint32_t bitMask = 1u << kRowBit[static_cast<size_t>(row)];
    const InstaEdges edges =
        FindInstaEdges(bitMask, value, s, [this](SampleStep step, uint32_t from, bool forward) {
            return InstaSearch(step, from, forward);
        });
    RedrawWaveforms();
    DrawInstaMark(row, x, MeasureMark(state_, mode, edges, wave->ScaleWidth()));
    ShowInstaDetail(wave,
                    InstaMeasureText(state_, mode, edges, s, value, InternalCLK->isChecked()));
}

// The measurement by sample numbers, in the row's tool tip; an open tool tip follows the pointer's
// measurement.
void Form1::ShowInstaDetail(PictureSurface* wave, const std::string& detail) {
    const QString text = QString::fromStdString(detail);
    wave->setToolTip(text);
    if (QToolTip::isVisible())
        QToolTip::showText(QCursor::pos(), text, wave);
}

void Form1::DrawByteMark(int row, double x, uint32_t value) {
    for (PictureSurface* wave : Wave)
        raster::FillBox<uint8_t>(raster::IndexPixels(wave->Picture()), x, 0.0, x, 30.0, kBlackInk);
    PictureSurface* wave = Wave[static_cast<size_t>(row)];
    stripText_.WriteIndexed(wave->Picture(), x + 2, MarkY(wave->ScaleHeight()) - 11,
                            StripFont::Plain, kBlackInk, QString::fromStdString(ByteText(value)));
}

void Form1::DrawInstaMark(int row, double x, const InstaMark& mark) {
    QImage& picture = Wave[static_cast<size_t>(row)]->Picture();
    const raster::IndexPixels pixels(picture);
    const int y = MarkY(pixels.height);
    if (mark.left && mark.right)
        raster::FillBox<uint8_t>(pixels, *mark.left, y, *mark.right, y, kBlackInk);
    // Arrowheads point outwards at the edges found.
    if (mark.left) {
        const double xl = *mark.left;
        raster::Line<uint8_t>(pixels, xl, y, xl + 3, y + 3, kBlackInk);
        raster::Line<uint8_t>(pixels, xl, y, xl + 3, y - 3, kBlackInk);
    }
    if (mark.right) {
        const double xr = *mark.right;
        raster::Line<uint8_t>(pixels, xr, y, xr - 3, y + 3, kBlackInk);
        raster::Line<uint8_t>(pixels, xr, y, xr - 3, y - 3, kBlackInk);
    }
    if (!mark.text.empty())
        stripText_.WriteIndexed(picture, x, y - 13, StripFont::Plain, kBlackInk,
                                QString::fromStdString(mark.text));
}

} // namespace norrik
