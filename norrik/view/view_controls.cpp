// The waveform view's controls: the twenty signal rows with the time ruler above and the cursor
// strip below, the "Display Control" group, and the hidden zoom fields with their Draw button.
#include "form1.h"
#include "layout.h"
#include "view/picture_surface.h"
#include "view/row_drawing.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
