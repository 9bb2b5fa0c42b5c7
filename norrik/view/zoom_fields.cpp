// The zoom setting as the window holds it, in the text fields ScaleP and SubScale, and the
// centring of the view; the arithmetic lives in zoom_setting and view_geometry.
#include "form1.h"
#include "view/picture_surface.h"
#include "view/view_geometry.h"
#include "view/zoom_setting.h"

#include <QLineEdit>

namespace norrik {
namespace {

ZoomFields FieldsOf(const QLineEdit* scaleP, const QLineEdit* subScale) {
    return {scaleP->text().toStdString(), subScale->text().toStdString()};
}

void Write(QLineEdit* scaleP, QLineEdit* subScale, const ZoomFields& fields) {
    scaleP->setText(QString::fromStdString(fields.ScaleP));
    subScale->setText(QString::fromStdString(fields.SubScale));
}

} // namespace

int Form1::RowWidth() const {
    return Wave[0]->ScaleWidth();
}

void Form1::ReadZoomSetting() {
    const ZoomFields fields = FieldsOf(ScaleP, SubScale);
    const ZoomSetting setting = norrik::ReadZoomSetting(fields);
    state_.Scale = setting.Scale;
    state_.SubScale = setting.SubScale;
    // Edited text that breaks the setting is replaced, so that the steps continue from what
    // the view shows.
    if (!HoldsValidZoom(fields))
        Write(ScaleP, SubScale, ZoomFieldsOf(setting));
}

void Form1::ZoomInStep() {
    Write(ScaleP, SubScale, norrik::ZoomInStep(FieldsOf(ScaleP, SubScale)));
}

void Form1::ZoomOutStep() {
    Write(ScaleP, SubScale, norrik::ZoomOutStep(FieldsOf(ScaleP, SubScale)));
}

void Form1::ZoomAllSetting() {
    Write(ScaleP, SubScale, norrik::ZoomAllSetting(state_, RowWidth()));
}

void Form1::CenterViewOn(int32_t p) {
    norrik::CenterViewOn(state_, p, RowWidth());
}

} // namespace norrik
