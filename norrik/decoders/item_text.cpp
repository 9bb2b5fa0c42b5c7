#include "decoders/item_text.h"

namespace norrik::decoders {

namespace {

constexpr const char* kBusNotIdle =
    "Start of waveform screen must be during bus idle time.  "
    "Please scroll screen to start during serial bus idle time.\r\n";

// A 2-wire byte in two characters, right-aligned: " 5", "A0".
void AppendHexField(std::string& text, uint8_t value) {
    if (value < 16)
        text += ' ';
    AppendShortHex(text, value);
}

} // namespace

void TwoWireText::Add(const DecodedItem& item) {
    switch (item.kind) {
    case ItemKind::Start:
        scratch_ += "\r\nSTART\r\n";
        break;
    case ItemKind::Stop:
        scratch_ += "\r\nSTOP\r\n";
        break;
    case ItemKind::Address:
        scratch_ += " SlaveID: ";
        AppendHexField(scratch_, item.value);
        scratch_ += (item.value & 1) != 0 ? " Read\r\n" : " Write\r\n";
        break;
    case ItemKind::Data:
        AppendHexField(scratch_, item.value);
        scratch_ += "\r\n";
        break;
    case ItemKind::Ack:
        scratch_ += " ACK\r\n";
        break;
    case ItemKind::Nack:
        scratch_ += " NACK\r\n";
        break;
    case ItemKind::BusNotIdle:
        if (show_)
            show_(kBusNotIdle);
        break;
    default:
        break;
    }
}

void SerialText::Add(const DecodedItem& item) {
    if (item.kind == ItemKind::StopBitError) {
        scratch_ += " Invalid Stop Bit\r\n";
        return;
    }
    switch (display_) {
    case DisplayMode::Hex:
        AppendHexDigits(scratch_, item.value);
        scratch_ += "\r\n";
        break;
    case DisplayMode::Ascii:
        AppendShownCharacter(scratch_, item.value);
        break;
    case DisplayMode::Both:
        AppendQuotedByte(scratch_, item.value);
        scratch_ += "\r\n";
        break;
    }
}

void SpiText::Add(const DecodedItem& item) {
    switch (display_) {
    case DisplayMode::Hex:
        rowOut_.push_back(item.value);
        rowIn_.push_back(item.dataIn);
        if (rowLength_ <= static_cast<double>(rowOut_.size()))
            WriteRow();
        break;
    case DisplayMode::Ascii:
        AppendShownCharacter(scratch_, item.value);
        scratch_ += "  ";
        AppendShownCharacter(scratch_, item.dataIn);
        scratch_ += "\r\n";
        break;
    case DisplayMode::Both:
        AppendQuotedByte(scratch_, item.value);
        scratch_ += "  ";
        AppendQuotedByte(scratch_, item.dataIn);
        scratch_ += "\r\n";
        break;
    }
}

void SpiText::WriteRow() {
    if (rowOut_.empty())
        return;
    WriteRowLine("SO: ", rowOut_);
    WriteRowLine("SI: ", rowIn_);
    scratch_ += "\r\n";
    rowOut_.clear();
    rowIn_.clear();
}

void SpiText::WriteRowLine(const char* label, const std::vector<uint8_t>& bytes) {
    scratch_ += label;
    AppendHexValues(scratch_, bytes);
    scratch_ += "\r\n";
}

} // namespace norrik::decoders
