// The seven hidden text boxes that show the capture-status fields after every poll.
#include "form1.h"
#include "layout.h"
#include "number_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace norrik {

void Form1::CreateCaptureStatusBoxes() {
    struct Box {
        QLineEdit*& box;
        const char* name;
        QLabel*& label;
        const char* caption;
    };
    const Box boxes[] = {{Breaks, "Breaks", Label13, "Breaks"},
                         {Running, "Running", Label14, "Running"},
                         {Triggered, "Triggered", Label15, "Triggered"},
                         {StartP, "StartP", Label16, "Start"},
                         {EndP, "EndP", Label17, "End"},
                         {Trigger, "Trigger", Label18, "Trigger"},
                         {Full, "Full", Label19, "Full"}};
    // Below the height of the acquisition group: present, with their behaviour, but not shown.
    int top = 3120;
    for (const Box& entry : boxes) {
        entry.label = new QLabel(entry.caption, Frame1);
        entry.label->setGeometry(Twips(120, top, 855, 255));
        entry.box = new QLineEdit(Frame1);
        entry.box->setObjectName(entry.name);
        entry.box->setGeometry(Twips(1080, top, 1215, 285));
        top += 300;
    }
}

void Form1::ShowCaptureStatus() {
    const auto show = [](QLineEdit* box, int64_t value) {
        box->setText(QString::fromStdString(PlainText(value)));
    };
    show(Breaks, state_.CapBreaks);
    show(Running, state_.CapRunning);
    show(Triggered, state_.CapTriggered);
    show(StartP, state_.CapStartP);
    show(EndP, state_.CapEndP);
    show(Trigger, state_.TriggerSample);
    show(Full, state_.CapFull);
}

} // namespace norrik
