#include "acquisition_measurement_window.h"

#include "clickable_picture.h"
#include "control_twins.h"
#include "form1.h"
#include "view/picture_surface.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <tuple>

namespace norrik {
namespace {

QLabel* Caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

// A row of a caption and the buttons after it.
QHBoxLayout* ButtonRow(const QString& caption, QWidget* parent,
                       std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addWidget(Caption(caption, parent));
    for (QPushButton* button : buttons) {
        button->setFixedWidth(32);
        row->addWidget(button);
    }
    row->addStretch();
    return row;
}

} // namespace

AcquisitionMeasurementWindow::AcquisitionMeasurementWindow(Form1& form) : QWidget(&form, Qt::Tool) {
    setObjectName("AcquisitionMeasurement");
    setWindowTitle("Acquisition and Measurement");
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(AcquisitionGroup(form));
    left->addWidget(TimesGroup(form));
    left->addWidget(PatternGroup(form));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(InstaMeasureGroup(form));
    right->addWidget(SignalLabelsGroup(form));
    right->addWidget(CaptureStatusGroup(form));
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);
    // The trigger read-out is written by every redraw of the view.
    form.onRedrawn = [window = QPointer(this)] {
        if (window)
            window->TValue->Refresh();
    };
}

QWidget* AcquisitionMeasurementWindow::AcquisitionGroup(Form1& form) {
    auto* group = new QGroupBox("Acquisition", this);
    auto* grid = new QGridLayout(group);
    RateList = TwinList(form.RateList, group);
    PodList = TwinList(form.PodList, group);
    InternalCLK = TwinOption(form.InternalCLK, group);
    ExternalCLK = TwinOption(form.ExternalCLK, group);
    CLKEdge = TwinPicture(form.CLKEdge, group);
    TRIGValid = TwinPicture(form.TRIGValid, group);
    grid->addWidget(Caption("Sample Rate", group), 0, 0);
    grid->addWidget(RateList, 0, 1);
    grid->addWidget(Caption(form.Label4->text(), group), 1, 0);
    grid->addWidget(PodList, 1, 1);
    grid->addWidget(InternalCLK, 2, 0, 1, 3);
    grid->addWidget(ExternalCLK, 3, 0, 1, 3);
    const std::pair<ClickablePicture*, QLabel*> pictures[] = {{CLKEdge, form.Label11},
                                                              {TRIGValid, form.Label12}};
    int row = 4;
    for (const auto& [picture, label] : pictures) {
        picture->setFixedSize(form.CLKEdge->size());
        auto* line = new QHBoxLayout;
        line->addSpacing(20);
        line->addWidget(picture);
        line->addWidget(Caption(label->text(), group));
        line->addStretch();
        grid->addLayout(line, row++, 0, 1, 3);
    }
    grid->setColumnStretch(2, 1);
    return group;
}

QWidget* AcquisitionMeasurementWindow::TimesGroup(Form1& form) {
    auto* group = new QGroupBox("Times and Centring", this);
    auto* rows = new QVBoxLayout(group);
    Command12 = TwinButton(form.Command12, group);
    Command13 = TwinButton(form.Command13, group);
    Command14 = TwinButton(form.Command14, group);
    rows->addLayout(ButtonRow("Times relative to", group, {Command12, Command13, Command14}));
    auto* trigger = new QHBoxLayout;
    trigger->addWidget(Caption("Trigger at", group));
    TValue = new SurfaceTwin(form.TValue, group);
    trigger->addWidget(TValue);
    trigger->addStretch();
    rows->addLayout(trigger);
    Command7 = TwinButton(form.Command7, group);
    Command8 = TwinButton(form.Command8, group);
    Command9 = TwinButton(form.Command9, group);
    rows->addLayout(ButtonRow("Center on", group, {Command7, Command8, Command9}));
    return group;
}

QWidget* AcquisitionMeasurementWindow::InstaMeasureGroup(Form1& form) {
    auto* group = new QGroupBox(form.Frame4->title(), this);
    auto* rows = new QVBoxLayout(group);
    const std::pair<QRadioButton*&, QRadioButton*> options[] = {
        {InstaOff, form.InstaOff},       {InstaWidth, form.InstaWidth}, {InstaFreq, form.InstaFreq},
        {InstaPeriod, form.InstaPeriod}, {InstaByte, form.InstaByte},
    };
    for (const auto& [twin, hidden] : options) {
        twin = TwinOption(hidden, group);
        rows->addWidget(twin);
    }
    return group;
}

QWidget* AcquisitionMeasurementWindow::PatternGroup(Form1& form) {
    auto* group = new QGroupBox("Trigger Pattern", this);
    auto* row = new QHBoxLayout(group);
    Command10 = TwinButton(form.Command10, group);
    Command11 = TwinButton(form.Command11, group);
    Command6 = TwinButton(form.Command6, group);
    for (QPushButton* button : {Command10, Command11, Command6})
        row->addWidget(button);
    row->addStretch();
    return group;
}

QWidget* AcquisitionMeasurementWindow::SignalLabelsGroup(Form1& form) {
    auto* group = new QGroupBox("Signal Labels", this);
    auto* grid = new QGridLayout(group);
    for (size_t i = 0; i < SignalLabel.size(); ++i) {
        SignalLabel[i] = TwinPicture(form.SignalLabel[i], group);
        SignalLabel[i]->setMinimumSize(form.SignalLabel[i]->size());
        grid->addWidget(SignalLabel[i], static_cast<int>(i % 4), static_cast<int>(i / 4));
    }
    return group;
}

QWidget* AcquisitionMeasurementWindow::CaptureStatusGroup(Form1& form) {
    auto* group = new QGroupBox("Capture Status", this);
    auto* grid = new QGridLayout(group);
    const std::tuple<QLineEdit*&, QLineEdit*, QLabel*> boxes[] = {
        {Breaks, form.Breaks, form.Label13},       {Running, form.Running, form.Label14},
        {Triggered, form.Triggered, form.Label15}, {StartP, form.StartP, form.Label16},
        {EndP, form.EndP, form.Label17},           {Trigger, form.Trigger, form.Label18},
        {Full, form.Full, form.Label19},
    };
    int row = 0;
    for (const auto& [twin, hidden, label] : boxes) {
        twin = TwinBox(hidden, group);
        twin->setFixedWidth(hidden->width());
        grid->addWidget(Caption(label->text(), group), row, 0);
        grid->addWidget(twin, row++, 1);
    }
    return group;
}

void AcquisitionMeasurementWindow::ShowBeside() {
    if (!placed_) {
        placed_ = true;
        adjustSize();
        // Beside the main window where the screen has room, else as far right as it has.
        const QWidget* main = parentWidget();
        QPoint at = main->frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen* screen = main->screen()) {
            const QRect room = screen->availableGeometry();
            at.setX(
                std::max(room.left(), std::min(at.x(), room.right() - frameGeometry().width())));
            at.setY(
                std::max(room.top(), std::min(at.y(), room.bottom() - frameGeometry().height())));
        }
        move(at);
    }
    show();
    raise();
    activateWindow();
}

void Form1::AcquisitionMeasurementMenu_Click() {
    if (AcquisitionMeasurement == nullptr)
        AcquisitionMeasurement = new AcquisitionMeasurementWindow(*this);
    AcquisitionMeasurement->ShowBeside();
}

} // namespace norrik
