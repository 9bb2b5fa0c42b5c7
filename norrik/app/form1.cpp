// The main window's composition: the fixed client area, its controls and the menu bar.
#include "form1.h"

#include "artwork.h"
#include "clickable_picture.h"
#include "diagnostic_log.h"
#include "enter_key.h"
#include "group_frame.h"
#include "layout.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace norrik {
namespace {

// A list whose text field shows the chosen entry: typing into the field has no effect (it would
// otherwise add entries and act on them); only choosing an entry acts.
void MakeChooseOnly(QComboBox* list) {
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->lineEdit()->setReadOnly(true);
}

} // namespace

Form1::Form1() {
    setWindowTitle("Tarnwick Logic Analyzer");
    CreateControls();
    CreateMenus();
    ConnectViewMouse();
    ConnectViewMenu();
    ConnectWheelAndKeys();
    setCentralWidget(client);
    // The layout is fixed: nothing moves or resizes at run time.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form1::SelectEntry(QComboBox* list, int index) {
    list->blockSignals(true);
    list->setCurrentIndex(index);
    list->blockSignals(false);
    if (index >= 0 && index < list->count())
        emit list->activated(index);
}

void Form1::CreateControls() {
    client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    background = new QLabel(client);
    background->setPixmap(BackgroundPicture());
    background->setGeometry(0, 0, 913, 520);

    for (int i = 0; i < kModulePictures; ++i) {
        auto* picture = new ClickablePicture(client);
        picture->setObjectName(QString("TW2Image_%1").arg(i));
        picture->setGeometry(Twips(960, 960, 1215, 2295));
        picture->setPixmap(ModulePicture(i));
        picture->setScaledContents(true);
        picture->hide();
        picture->onClick = [this, i] { TW2Image_Click(i); };
        TW2Image[static_cast<size_t>(i)] = picture;
    }

    CreateTriggerButtons();
    CreateWaveformSurfaces();
    Frame2 = new GroupFrame("Display Control", client);
    Frame2->setGeometry(Twips(3720, 5640, 3255, 1335));
    CreateDisplayControls();
    CreateViewCommands();
    CreateInstaMeasureOptions();

    CreateAcquisitionControls();
    CreateCaptureStatusBoxes();
    CreateSignalLabels();
    CreateAcquisitionTimers();

    Command20 = new QPushButton("Help", client);
    Command20->setGeometry(Twips(12000, 5880, 1095, 855));
    Command20->setToolTip("Click here to get help");
    connect(Command20, &QPushButton::clicked, this, [this] { Command20_Click(); });

    // Beyond the client area: present, with their behaviour, but not shown.
    Frame3 = new QGroupBox("File Control", client);
    Frame3->setGeometry(kOffscreenLeft / kTwipsPerPixel, 300, 100, 110);
    Command18 = new QPushButton("Open", Frame3);
    Command18->setGeometry(8, 20, 84, 25);
    Command18->setToolTip("Open a previously saved file");
    connect(Command18, &QPushButton::clicked, this, [this] { OpenCapture(); });
    Command17 = new QPushButton("Print", Frame3);
    Command17->setGeometry(8, 50, 84, 25);
    Command17->setToolTip("Print the current screen");
    connect(Command17, &QPushButton::clicked, this, [this] { Command17_Click(); });
    Command16 = new QPushButton("Save As", Frame3);
    Command16->setGeometry(8, 80, 84, 25);
    Command16->setToolTip("Save the captured data buffer and settings to a file");
    connect(Command16, &QPushButton::clicked, this, [this] { SaveCapture(); });

    Light = new QLabel(client);
    Light->setGeometry(Twips(12000, 7200, 255, 255));
    Light->setAutoFillBackground(true);
    DemoOn = new QLabel("No Plinket", client);
    DemoOn->setGeometry(Twips(12240, 7200, 975, 495));
    DemoOn->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DemoOn->setWordWrap(true);

    PodList = new QComboBox(client);
    MakeChooseOnly(PodList);
    PodList->setGeometry(kOffscreenLeft / kTwipsPerPixel, 40, 80, 21);
    PodList->setToolTip("Choose the Pod ID to use");
    connect(PodList, &QComboBox::activated, this, [this] { PodList_Click(); });
    Label4 = new QLabel("Pod Number", client);
    Label4->setGeometry(kOffscreenLeft / kTwipsPerPixel, 20, 80, 17);

    Output = new DiagnosticLog(client);
    Output->setObjectName("Output");
    Output->setGeometry(kOffscreenLeft / kTwipsPerPixel, 80, 200, 200);

    CreateZoomFields();
}

void Form1::CreateAcquisitionControls() {
    Frame1 = new GroupFrame("Acquisition Control", client);
    Frame1->setGeometry(Twips(7080, 5640, 4575, 1335));

    Command1 = new QPushButton("Acquire", Frame1);
    Command1->setGeometry(Twips(120, 120, 1215, 375));
    Command1->setToolTip("Click here to start and stop a capture with the settings at the right "
                         "and the trigger settings on the left.");
    connect(Command1, &QPushButton::clicked, this, [this] { Acquire_Click(); });
    PressOnEnter(this, Command1);
    Status = new QLabel("Stopped", Frame1);
    Status->setGeometry(Twips(120, 600, 1215, 375));
    Status->setAlignment(Qt::AlignCenter);
    Status->setAutoFillBackground(true);
    // "Triggered - Storing Data" takes two lines of a small font in the fixed box.
    Status->setWordWrap(true);
    QFont statusFont = Status->font();
    statusFont.setPointSizeF(statusFont.pointSizeF() * 0.8);
    Status->setFont(statusFont);
    Status->setToolTip("Acquisition Status");
    QPalette stopped = Status->palette();
    stopped.setColor(QPalette::Window, QColor(255, 0, 0));
    Status->setPalette(stopped);
    Progress = new QProgressBar(Frame1);
    Progress->setGeometry(Twips(120, 1080, 1215, 195));
    Progress->setTextVisible(false);
    Progress->setToolTip("Progress of filling the buffer after the trigger occurs");
    Progress->setRange(0, 100);
    Progress->setValue(0);
    QPalette bar = Progress->palette();
    bar.setColor(QPalette::Highlight, QColor(0, 0, 255));
    Progress->setPalette(bar);

    SizeList = new QComboBox(Frame1);
    MakeChooseOnly(SizeList);
    SizeList->setGeometry(Twips(1560, 120, 2055, 315));
    SizeList->setToolTip("Select the buffer size you want to use.");
    connect(SizeList, &QComboBox::activated, this, [this] { SizeList_Click(); });
    Label2 = new QLabel("at 2Msps", Frame1);
    Label2->setGeometry(Twips(3660, 150, 855, 255));
    Label3 = new QLabel("Trigger Position", Frame1);
    Label3->setGeometry(Twips(1560, 540, 2055, 255));
    TriggerPositionScroll = new QScrollBar(Qt::Horizontal, Frame1);
    TriggerPositionScroll->setGeometry(Twips(1560, 840, 2895, 255));
    TriggerPositionScroll->setRange(10, 90);
    TriggerPositionScroll->setPageStep(10);
    TriggerPositionScroll->setSingleStep(1);
    TriggerPositionScroll->setValue(10);

    // Below the group's height: present, with their behaviour, but not shown.
    RateList = new QComboBox(Frame1);
    RateList->setGeometry(Twips(120, 1560, 1455, 315));
    RateList->setToolTip("Select the Sample Rate to sample the Pod signals");
    connect(RateList, &QComboBox::activated, this, [this] { RateList_Click(); });
    InternalCLK = new QRadioButton(
        "CLK signal is an output - Plinket generates sample timing internally", Frame1);
    InternalCLK->setGeometry(Twips(120, 1920, 4335, 255));
    InternalCLK->setChecked(true);
    connect(InternalCLK, &QRadioButton::clicked, this, [this] { InternalCLK_Click(); });
    ExternalCLK = new QRadioButton(
        "CLK signal is an input - Your circuit generates the sample timing externally", Frame1);
    ExternalCLK->setGeometry(Twips(120, 2220, 4335, 255));
    connect(ExternalCLK, &QRadioButton::clicked, this, [this] { ExternalCLK_Click(); });
    CLKEdge = new ClickablePicture(Frame1);
    CLKEdge->setGeometry(Twips(120, 2520, 255, 255));
    CLKEdge->onClick = [this] { CLKEdge_Click(); };
    Label11 = new QLabel("Data changes on CLK edge", Frame1);
    Label11->setGeometry(Twips(420, 2520, 2055, 255));
    TRIGValid = new ClickablePicture(Frame1);
    TRIGValid->setGeometry(Twips(120, 2820, 255, 255));
    TRIGValid->onClick = [this] { TRIGValid_Click(); };
    Label12 = new QLabel("Capture on TRIG", Frame1);
    Label12->setGeometry(Twips(420, 2820, 2055, 255));
}

void Form1::CreateMenus() {
    QMenu* fileMenu = menuBar()->addMenu("File");
    fileMenu->setObjectName("FileMenu");
    QAction* openMenu = fileMenu->addAction("Open");
    openMenu->setObjectName("OpenMenu");
    connect(openMenu, &QAction::triggered, this, [this] { OpenCapture(); });
    QAction* saveAsMenu = fileMenu->addAction("Save As");
    saveAsMenu->setObjectName("SaveAsMenu");
    connect(saveAsMenu, &QAction::triggered, this, [this] { SaveCapture(); });
    QAction* printMenu = fileMenu->addAction("Print");
    printMenu->setObjectName("PrintMenu");
    connect(printMenu, &QAction::triggered, this, [this] { PrintMenu_Click(); });
    QAction* exitMenu = fileMenu->addAction("Exit");
    exitMenu->setObjectName("ExitMenu");
    connect(exitMenu, &QAction::triggered, this, [this] { ExitMenu_Click(); });

    QMenu* viewMenu = menuBar()->addMenu("View");
    viewMenu->setObjectName("mview");
    QAction* menuSpi = viewMenu->addAction("SPI Decoder");
    menuSpi->setObjectName("MenuSPI");
    connect(menuSpi, &QAction::triggered, this, [this] { MenuSPI_Click(); });
    QAction* menuI2c = viewMenu->addAction("I2C Decoder");
    menuI2c->setObjectName("MenuI2C");
    connect(menuI2c, &QAction::triggered, this, [this] { MenuI2C_Click(); });
    QAction* menuSerial = viewMenu->addAction("Async Serial Decoder");
    menuSerial->setObjectName("MenuSerial");
    connect(menuSerial, &QAction::triggered, this, [this] { MenuSerial_Click(); });
    viewMenu->addAction("Scroll Waveforms Left")->setObjectName("mleft");
    viewMenu->addAction("Scroll Waveforms Right")->setObjectName("mright");
    viewMenu->addAction("Zoom to see All acquired data")->setObjectName("zoomall");
    viewMenu->addAction("Zoom Out")->setObjectName("zoomout");
    viewMenu->addAction("Zoom In")->setObjectName("zoomin");
    QAction* tools = viewMenu->addAction("Acquisition and Measurement");
    tools->setObjectName("AcquisitionMeasurementMenu");
    connect(tools, &QAction::triggered, this, [this] { AcquisitionMeasurementMenu_Click(); });

    QAction* acquire = menuBar()->addAction("Acquire Signal Data");
    acquire->setObjectName("macquire");
    connect(acquire, &QAction::triggered, this, [this] { Acquire_Click(); });

    QMenu* helpMenu = menuBar()->addMenu("Help");
    helpMenu->setObjectName("HelpMenu");
    QAction* help = helpMenu->addAction("Tarnwick Logic Analyzer Help");
    help->setObjectName("NorrikHelp");
    connect(help, &QAction::triggered, this, [this] { NorrikHelp_Click(); });
    QAction* about = helpMenu->addAction("About the Tarnwick Logic Analyzer");
    about->setObjectName("NorrikAbout");
    connect(about, &QAction::triggered, this, [this] { NorrikAbout_Click(); });
}

} // namespace norrik
