#include "decoders/byte_text.h"

namespace norrik::decoders {

bool IsShownAsItself(uint8_t value) {
    return value == '\r' || value == '\n' || (value >= 32 && value <= 126);
}

void AppendHexDigits(std::string& text, uint8_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    text += kDigits[value >> 4];
    text += kDigits[value & 0x0F];
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
