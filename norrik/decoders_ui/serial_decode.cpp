#include "decoders_ui/serial_decode.h"

#include "decoders/signal_names.h"
#include "decoders_ui/decoder_controls.h"
#include "layout.h"
#include "podcore_api.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace norrik {

SerialDecode::SerialDecode(AppState& state, QWidget* parent)
    : DecoderWindow(parent, state, "Serial Bus Decoder", "Async Serial Decode",
                    Twips(0, 0, 9000, 7200).size(), 1980) {
    UseFixedPitchOutput();
    const decoders::SerialSettings defaults;

    signal = SignalList(this, "Signal", Twips(120, 150, 615, 255), Twips(780, 120, 1095, 315),
                        decoders::SerialSignalNames(), defaults.signal);
    Baud = new QLabel("Baud Rate", this);
    Baud->setGeometry(Twips(2040, 150, 975, 255));
    BaudRate = new QLineEdit(QString::fromStdString(defaults.baudRate), this);
    BaudRate->setGeometry(Twips(3060, 120, 1095, 315));
    Baud->setBuddy(BaudRate);

    const OptionFrame direction =
        MakeOptionFrame(this, "Bit Direction", Twips(120, 600, 1455, 975),
                        {"msbit first", "lsbit first"}, defaults.msbFirst ? 0 : 1);
    msbfirst = direction.buttons[0];
    lsbfirst = direction.buttons[1];
    const OptionFrame polarity = MakeOptionFrame(this, "Polarity", Twips(1680, 600, 1455, 975),
                                                 {"Normal", "Inverted"}, defaults.normal ? 0 : 1);
    normal = polarity.buttons[0];
    inverted = polarity.buttons[1];
    const OptionFrame frame =
        MakeOptionFrame(this, "Data Bits,Parity Bits", Twips(3240, 600, 1815, 975), {"8,0", "7,1"},
                        defaults.frame == decoders::SerialFrame::EightDataBits ? 0 : 1);
    Eight = frame.buttons[0];
    Option3 = frame.buttons[1];
    MakeDisplayModeFrame(this, Twips(5160, 600, 1215, 1275), defaults.display, Hexy, Asciii, Both);
}

int32_t SerialDecode::PolarityLoggedData(int32_t index, bool normalPolarity) {
    return decoders::PolarityLoggedData(decoders::SampleReader(Podcore().LoggedData), index,
                                        normalPolarity);
}

decoders::SerialSettings SerialDecode::Settings() const {
    decoders::SerialSettings settings;
    settings.signal = signal->currentText().toStdString();
    settings.baudRate = BaudRate->text().toStdString();
    settings.msbFirst = msbfirst->isChecked();
    settings.normal = normal->isChecked();
    settings.frame = Eight->isChecked() ? decoders::SerialFrame::EightDataBits
                                        : decoders::SerialFrame::SevenDataBitsParity;
    settings.display = SelectedDisplayMode(Hexy, Asciii);
    return settings;
}

decoders::DecodeOutcome SerialDecode::Decode(const decoders::DecodeContext& context,
                                             const decoders::DecodeHooks& hooks) {
    // The options are read afresh for every character, as a change made during a long run
    // should take effect; the signal stays the one the run started with.
    return decoders::RunSerialDecode(context, Settings(), hooks, [this] { return Settings(); });
}

} // namespace norrik
