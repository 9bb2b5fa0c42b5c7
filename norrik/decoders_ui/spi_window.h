// The SPI window: a clock, two data lines each sampled on its own clock edge, and an optional
// active-low slave select.
#pragma once

#include "decoders/spi_decoder.h"
#include "decoders_ui/decoder_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace norrik {

class SPI : public DecoderWindow {
public:
    explicit SPI(AppState& state, QWidget* parent = nullptr);

    // The settings as the controls show them now.
    decoders::SpiSettings Settings() const;

    QComboBox* SSsignal = nullptr;
    QComboBox* SCKsignal = nullptr;
    QComboBox* SOsignal = nullptr;
    QComboBox* SIsignal = nullptr;
    QRadioButton* DCRising = nullptr;
    QRadioButton* DCFalling = nullptr;
    QRadioButton* DSRising = nullptr;
    QRadioButton* DSFalling = nullptr;
    QRadioButton* msbfirst = nullptr;
    QRadioButton* lsbfirst = nullptr;
    QRadioButton* Hexy = nullptr;
    QRadioButton* Asciii = nullptr;
    QRadioButton* Both = nullptr;
    QLabel* BytesPerRowLabel = nullptr;
    QLineEdit* BytesPerRow = nullptr;

protected:
    decoders::DecodeOutcome Decode(const decoders::DecodeContext& context,
                                   const decoders::DecodeHooks& hooks) override;
};

} // namespace norrik
