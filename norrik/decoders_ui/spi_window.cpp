#include "decoders_ui/spi_window.h"

#include "decoders/signal_names.h"
#include "decoders_ui/decoder_controls.h"
#include "layout.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace norrik {

namespace {

int EdgeButton(decoders::ClockEdge edge) {
    return edge == decoders::ClockEdge::Rising ? 0 : 1;
}

decoders::ClockEdge SelectedEdge(const QRadioButton* rising) {
    return rising->isChecked() ? decoders::ClockEdge::Rising : decoders::ClockEdge::Falling;
}

} // namespace

SPI::SPI(AppState& state, QWidget* parent)
    : DecoderWindow(parent, state, "SPI Decoder", "SPI Decode", Twips(0, 0, 9000, 7200).size(),
                    3060) {
    UseFixedPitchOutput();
    const decoders::SpiSettings defaults;
    const std::vector<std::string> pins = decoders::PinSignalNames();
    SSsignal = SignalList(this, "SS", Twips(120, 150, 495, 255), Twips(660, 120, 1095, 315),
                          decoders::SlaveSelectNames(), defaults.slaveSelect);
    SCKsignal = SignalList(this, "SCK", Twips(120, 570, 495, 255), Twips(660, 540, 1095, 315), pins,
                           defaults.clock);
    SOsignal = SignalList(this, "SO", Twips(120, 1350, 495, 255), Twips(660, 1320, 1095, 315), pins,
                          defaults.dataOut);
    SIsignal = SignalList(this, "SI", Twips(120, 2370, 495, 255), Twips(660, 2340, 1095, 315), pins,
                          defaults.dataIn);

    const QStringList edges = {"Rising", "Falling"};
    const OptionFrame dataOutEdge =
        MakeOptionFrame(this, "Sampling Edge", Twips(1920, 960, 1335, 975), edges,
                        EdgeButton(defaults.dataOutEdge));
    DCRising = dataOutEdge.buttons[0];
    DCFalling = dataOutEdge.buttons[1];
    const OptionFrame dataInEdge =
        MakeOptionFrame(this, "Sampling Edge", Twips(1920, 1980, 1335, 975), edges,
                        EdgeButton(defaults.dataInEdge));
    DSRising = dataInEdge.buttons[0];
    DSFalling = dataInEdge.buttons[1];

    const OptionFrame order =
        MakeOptionFrame(this, "Bit Order", Twips(3480, 120, 1335, 975), {"msb first", "lsb first"},
                        defaults.msbFirst ? 0 : 1);
    msbfirst = order.buttons[0];
    lsbfirst = order.buttons[1];
    MakeDisplayModeFrame(this, Twips(3480, 1200, 1335, 1275), defaults.display, Hexy, Asciii, Both);

    BytesPerRowLabel = new QLabel("Bytes Per Row", this);
    BytesPerRowLabel->setGeometry(Twips(4980, 1200, 1455, 255));
    BytesPerRow = new QLineEdit(QString::fromStdString(defaults.bytesPerRow), this);
    BytesPerRow->setGeometry(Twips(4980, 1470, 735, 315));
    BytesPerRowLabel->setBuddy(BytesPerRow);
}

decoders::SpiSettings SPI::Settings() const {
    decoders::SpiSettings settings;
    settings.slaveSelect = SSsignal->currentText().toStdString();
    settings.clock = SCKsignal->currentText().toStdString();
    settings.dataOut = SOsignal->currentText().toStdString();
    settings.dataIn = SIsignal->currentText().toStdString();
    settings.dataOutEdge = SelectedEdge(DCRising);
    settings.dataInEdge = SelectedEdge(DSRising);
    settings.msbFirst = msbfirst->isChecked();
    settings.display = SelectedDisplayMode(Hexy, Asciii);
    settings.bytesPerRow = BytesPerRow->text().toStdString();
    return settings;
}

decoders::DecodeOutcome SPI::Decode(const decoders::DecodeContext& context,
                                    const decoders::DecodeHooks& hooks) {
    return decoders::RunSpiDecode(context, Settings(), hooks);
}

} // namespace norrik
