// The View menu's decoder entries: each shows its window, loading it afresh only when it is not
// open, so that an open window keeps its settings and output.
#include "decoders_ui/i2c_decode.h"
#include "decoders_ui/serial_decode.h"
#include "decoders_ui/spi_window.h"
#include "form1.h"

namespace norrik {

namespace {

template <typename Window> void ShowDecoderWindow(QPointer<Window>& window, Form1& owner) {
    if (window.isNull())
        window = new Window(owner.State(), &owner);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void Form1::MenuSPI_Click() {
    ShowDecoderWindow(SPIWindow, *this);
}

void Form1::MenuI2C_Click() {
    ShowDecoderWindow(I2CDecodeWindow, *this);
}

void Form1::MenuSerial_Click() {
    ShowDecoderWindow(SerialDecodeWindow, *this);
}

} // namespace norrik
