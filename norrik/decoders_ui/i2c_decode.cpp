#include "decoders_ui/i2c_decode.h"

#include "decoders/signal_names.h"
#include "decoders_ui/decoder_controls.h"
#include "layout.h"

#include <QComboBox>

namespace norrik {

I2CDecode::I2CDecode(AppState& state, QWidget* parent)
    : DecoderWindow(parent, state, "Serial Bus Decoder", "2-Wire Serial Decode",
                    Twips(0, 0, 6600, 6600).size(), 1560) {
    const decoders::TwoWireSettings defaults;
    const std::vector<std::string> pins = decoders::PinSignalNames();
    sdacombo = SignalList(this, "SDA", Twips(120, 150, 495, 255), Twips(660, 120, 1095, 315), pins,
                          defaults.sda);
    sclcombo = SignalList(this, "SCL", Twips(120, 570, 495, 255), Twips(660, 540, 1095, 315), pins,
                          defaults.scl);
}

decoders::TwoWireSettings I2CDecode::Settings() const {
    return {sdacombo->currentText().toStdString(), sclcombo->currentText().toStdString()};
}

decoders::DecodeOutcome I2CDecode::Decode(const decoders::DecodeContext& context,
                                          const decoders::DecodeHooks& hooks) {
    return decoders::RunTwoWireDecode(context, Settings(), hooks);
}

} // namespace norrik
