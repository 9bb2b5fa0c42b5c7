// The I2CDecode window: 2-wire traffic from a data line and a clock line.
#pragma once

#include "decoders/two_wire_decoder.h"
#include "decoders_ui/decoder_window.h"

class QComboBox;

namespace norrik {

class I2CDecode : public DecoderWindow {
public:
    explicit I2CDecode(AppState& state, QWidget* parent = nullptr);

    // The settings as the controls show them now.
    decoders::TwoWireSettings Settings() const;

    QComboBox* sdacombo = nullptr;
    QComboBox* sclcombo = nullptr;

protected:
    decoders::DecodeOutcome Decode(const decoders::DecodeContext& context,
                                   const decoders::DecodeHooks& hooks) override;
};

} // namespace norrik
