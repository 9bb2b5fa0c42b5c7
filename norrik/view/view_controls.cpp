// The waveform view's controls: the twenty signal rows with the time ruler above and the cursor
// strip below, the "Display Control" group, and the hidden zoom fields with their Draw button,
// time reference, centring and find buttons and insta-measure options.
#include "form1.h"
#include "layout.h"
#include "view/picture_surface.h"
#include "view/row_drawing.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace norrik {

void Form1::CreateWaveformSurfaces() {
    TimeScaleStrip = new PictureSurface(client, Twips(3600, 240, 9735, 255), false);
    TimeScaleStrip->setObjectName("TimeScaleStrip");
    // Row 19 at the top, row 0 at the bottom; neighbours overlap by one pixel.
    for (int row = kRows - 1; row >= 0; --row) {
        auto* wave = new PictureSurface(client, Twips(3600, 480 + 240 * (19 - row), 9735, 255),
                                        false, RowColourTable());
        wave->setObjectName(QString("Wave_%1").arg(row));
        Wave[static_cast<size_t>(row)] = wave;
    }
    XWindow = new PictureSurface(client, Twips(3600, 5280, 9735, 255), true);
    XWindow->setObjectName("XWindow");
}

void Form1::CreateDisplayControls() {
    ScrollLeft = new QPushButton("<", Frame2);
    ScrollLeft->setGeometry(Twips(120, 120, 255, 255));
    Overview = new PictureSurface(Frame2, Twips(360, 120, 2535, 255), true);
    Overview->setObjectName("Overview");
    Overview->setToolTip("Overview of entire capture buffer.  Click here to center the viewing "
                         "screen around that portion of the buffer.");
    ScrollRight = new QPushButton(">", Frame2);
    ScrollRight->setGeometry(Twips(2880, 120, 255, 255));

    Command3 = new QPushButton("Zoom In", Frame2);
    Command3->setGeometry(Twips(120, 480, 1035, 255));
    Command3->setToolTip("Click here to zoom into the captured data");
    Command4 = new QPushButton("Zoom Out", Frame2);
    Command4->setGeometry(Twips(120, 720, 1035, 255));
    Command4->setToolTip("Click here to zoom out to see more of the captured data per screen");
    Command5 = new QPushButton("Zoom All", Frame2);
    Command5->setGeometry(Twips(120, 960, 1035, 255));
    Command5->setToolTip("Click here to zoom out to see all of the data captured on one screen");

    struct ReadOut {
        QLabel*& label;
        const char* caption;
        PictureSurface*& value;
        const char* name;
        int top;
        const char* toolTip;
    };
    const ReadOut readOuts[] = {
        {Label7, "X", XValue, "XValue", 480,
         "Time at the X cursor relative to the setting below"},
        {Label6, "O", OValue, "OValue", 720,
         "Time at the O cursor relative to the setting below"},
        {Label10, "O-X", XtoOValue, "XtoOValue", 960,
         "Time delta from the X Cursor to the O Cursor"},
    };
    for (const ReadOut& readOut : readOuts) {
        readOut.label = new QLabel(readOut.caption, Frame2);
        readOut.label->setGeometry(Twips(1170, readOut.top, 375, 255));
        readOut.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readOut.value =
            new PictureSurface(Frame2, Twips(1560, readOut.top, 1575, 255), false);
        readOut.value->setObjectName(readOut.name);
        readOut.value->setToolTip(readOut.toolTip);
    }
}

namespace {

QPushButton* Button(const char* caption, QWidget* parent, const QRect& geometry,
                    const char* toolTip) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

void Form1::CreateViewCommands() {
    // Below the visible height of the group.
    Command7 = Button("X", Frame2, Twips(0, 1800, 255, 255),
                      "Click here to center the viewing screen on the X Cursor");
    Command8 = Button("O", Frame2, Twips(240, 1800, 255, 255),
                      "Click here to center the viewing screen on the O Cursor");
    Command9 = Button("T", Frame2, Twips(480, 1800, 255, 255),
                      "Click here to center the viewing screen on the Trigger position");
    Command12 = Button("T", Frame2, Twips(720, 1800, 255, 255),
                       "Click here to change all times to be relative to the Trigger Position");
    Command13 = Button("X", Frame2, Twips(960, 1800, 255, 255),
                       "Click here to change all times to be relative to the X Cursor");
    Command14 = Button("O", Frame2, Twips(1200, 1800, 255, 255),
                       "Click here to change all times to be relative to the O Cursor");
    TValue = new PictureSurface(Frame2, Twips(1680, 1800, 1935, 255), false);
    TValue->setObjectName("TValue");
    TValue->setToolTip("Time at the Trigger position relative to the setting below");

    // Beyond the client area.
    const int left = kOffscreenLeft / kTwipsPerPixel;
    Command10 = Button("Find Next", client, QRect(left, 600, 100, 25),
                       "Click here to find the next occurence of the above sequence in the data");
    Command11 =
        Button("Find Previous", client, QRect(left, 630, 100, 25),
               "Click here to find the previous occurence of the above sequence in the data");

    ScrollTimerLeft = new QTimer(this);
    ScrollTimerRight = new QTimer(this);
    for (QTimer* timer : {ScrollTimerLeft, ScrollTimerRight})
        timer->setInterval(kFirstScrollIntervalMs);

    const std::pair<QPushButton*, void (Form1::*)()> clicks[] = {
        {Command3, &Form1::Command3_Click},   {Command4, &Form1::Command4_Click},
        {Command5, &Form1::Command5_Click},   {Command7, &Form1::Command7_Click},
        {Command8, &Form1::Command8_Click},   {Command9, &Form1::Command9_Click},
        {Command10, &Form1::Command10_Click}, {Command11, &Form1::Command11_Click},
        {Command12, &Form1::Command12_Click}, {Command13, &Form1::Command13_Click},
        {Command14, &Form1::Command14_Click},
    };
    for (const auto& [button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, handler);
    connect(ScrollLeft, &QPushButton::pressed, this, &Form1::ScrollLeft_MouseDown);
    connect(ScrollLeft, &QPushButton::released, this, &Form1::ScrollLeft_MouseUp);
    connect(ScrollTimerLeft, &QTimer::timeout, this, &Form1::ScrollTimerLeft_Timer);
    connect(ScrollRight, &QPushButton::pressed, this, &Form1::ScrollRight_MouseDown);
    connect(ScrollRight, &QPushButton::released, this, &Form1::ScrollRight_MouseUp);
    connect(ScrollTimerRight, &QTimer::timeout, this, &Form1::ScrollTimerRight_Timer);
}

void Form1::CreateInstaMeasureOptions() {
    Frame4 = new QGroupBox("Cursor Insta-measure", client);
    Frame4->setGeometry(kOffscreenLeft / kTwipsPerPixel, 660, 100, 140);
    const std::pair<QRadioButton*&, const char*> options[] = {
        {InstaByte, "Byte"},     {InstaWidth, "Width"}, {InstaFreq, "Frequency"},
        {InstaPeriod, "Period"}, {InstaOff, "Off"},
    };
    int top = 20;
    for (const auto& [option, caption] : options) {
        option = new QRadioButton(caption, Frame4);
        option->setGeometry(8, top, 88, 20);
        top += 23;
    }
    InstaOff->setChecked(true);
    connect(InstaOff, &QRadioButton::clicked, this, &Form1::InstaOff_Click);
}

void Form1::CreateZoomFields() {
    const int left = kOffscreenLeft / kTwipsPerPixel;
    Scale = new QLabel("Scale", client);
    Scale->setGeometry(left, 470, 80, 17);
    ScaleP = new QLineEdit("2", client);
    ScaleP->setObjectName("ScaleP");
    ScaleP->setGeometry(left, 490, 120, 21);
    Label1 = new QLabel("SubScale", client);
    Label1->setGeometry(left, 515, 80, 17);
    SubScale = new QLineEdit("0", client);
    SubScale->setObjectName("SubScale");
    SubScale->setGeometry(left, 535, 120, 21);
    Command2 = new QPushButton("Draw", client);
    Command2->setGeometry(left, 560, 80, 25);
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

} // namespace norrik
