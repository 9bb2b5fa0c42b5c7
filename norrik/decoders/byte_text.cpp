#include "decoders/byte_text.h"

namespace norrik::decoders {

bool IsShownAsItself(uint8_t value) {
    return value == '\r' || value == '\n' || (value >= 32 && value <= 126);
}

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

} // namespace

void AppendHexDigits(std::string& text, uint8_t value) {
    text += kDigits[value >> 4];
    text += kDigits[value & 0x0F];
}

void AppendShortHex(std::string& text, uint8_t value) {
    if (value >= 16)
        text += kDigits[value >> 4];
    text += kDigits[value & 0x0F];
}

void AppendHexValues(std::string& text, std::span<const uint8_t> values) {
    // Sized once: a "Hex" row can hold thousands of values.
    const size_t at = text.size();
    text.resize(at + 3 * values.size());
    char* out = text.data() + at;
    for (const uint8_t value : values) {
        out[0] = kDigits[value >> 4];
        out[1] = kDigits[value & 0x0F];
        out[2] = ' ';
        out += 3;
    }
}

void AppendShownCharacter(std::string& text, uint8_t value) {
    text += IsShownAsItself(value) ? static_cast<char>(value) : '.';
}

void AppendQuotedByte(std::string& text, uint8_t value) {
    text += '\'';
    AppendShownCharacter(text, value);
    text += "' = 0x";
    AppendHexDigits(text, value);
}

} // namespace norrik::decoders
