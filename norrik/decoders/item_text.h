// The decoder windows' text, written from the decoded items: each decoder's wording, display
// modes and rows, exactly as the windows show it.
#pragma once

#include "decoders/byte_text.h"
#include "decoders/decoded_item.h"

#include <functional>
#include <string>
#include <vector>

namespace norrik::decoders {

// 2-wire: conditions, bytes and acknowledges one line each; the bus-not-idle message is shown at
// once, outside the scratch text.
class TwoWireText : public ItemSink {
public:
    TwoWireText(std::string& scratch, std::function<void(const std::string&)> show)
        : scratch_(scratch), show_(std::move(show)) {}
    void Add(const DecodedItem& item) override;
    void Problem(const std::string& message) override { scratch_ += message; }

private:
    std::string& scratch_;
    const std::function<void(const std::string&)> show_;
};

// Async serial: each character in the display mode, which may change between characters.
class SerialText : public ItemSink {
public:
    SerialText(std::string& scratch, DisplayMode display) : scratch_(scratch), display_(display) {}
    void SetDisplay(DisplayMode display) { display_ = display; }
    void Add(const DecodedItem& item) override;
    void Problem(const std::string& message) override { scratch_ += message; }

private:
    std::string& scratch_;
    DisplayMode display_;
};

// SPI: each byte pair in the display mode; "Hex" collects the pairs into rows of the chosen
// length, and the run's end writes a row begun. The row grows as needed, so any length works.
class SpiText : public ItemSink {
public:
    SpiText(std::string& scratch, DisplayMode display, double rowLength)
        : scratch_(scratch), display_(display), rowLength_(rowLength) {}
    void Add(const DecodedItem& item) override;
    void Problem(const std::string& message) override { scratch_ += message; }
    void End() override { WriteRow(); }

private:
    void WriteRow();
    void WriteRowLine(const char* label, const std::vector<uint8_t>& bytes);

    std::string& scratch_;
    const DisplayMode display_;
    const double rowLength_;
    std::vector<uint8_t> rowOut_;
    std::vector<uint8_t> rowIn_;
};

} // namespace norrik::decoders
