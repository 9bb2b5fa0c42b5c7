// The SerialDecode window: asynchronous serial traffic on one line, timed from the typed baud
// rate and the capture's sample rate.
#pragma once

#include "decoders/serial_decoder.h"
#include "decoders_ui/decoder_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace norrik {

class SerialDecode : public DecoderWindow {
public:
    explicit SerialDecode(AppState& state, QWidget* parent = nullptr);

    // The sample at `index` as this decoder reads it: unchanged with `normalPolarity`, all 32
    // bits inverted otherwise.
    static int32_t PolarityLoggedData(int32_t index, bool normalPolarity);

    // The settings as the controls show them now.
    decoders::SerialSettings Settings() const;

    QComboBox* signal = nullptr;
    QLabel* Baud = nullptr;
    QLineEdit* BaudRate = nullptr;
    QRadioButton* msbfirst = nullptr;
    QRadioButton* lsbfirst = nullptr;
    QRadioButton* normal = nullptr;
    QRadioButton* inverted = nullptr;
    QRadioButton* Eight = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Hexy = nullptr;
    QRadioButton* Asciii = nullptr;
    QRadioButton* Both = nullptr;

protected:
    decoders::DecodeOutcome Decode(const decoders::DecodeContext& context,
                                   const decoders::DecodeHooks& hooks) override;
};

} // namespace norrik
