// How the serial and SPI decoders (and the demo output) write a byte: as two hexadecimal digits,
// as the character itself, or both.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace norrik::decoders {

// The "Display Mode" frame of the serial and SPI windows.
enum class DisplayMode { Hex, Ascii, Both };

// CR, LF and 32 to 126 are shown as themselves; every other byte as ".".
bool IsShownAsItself(uint8_t value);

// Two uppercase digits, leading zero included: "0A".
void AppendHexDigits(std::string& text, uint8_t value);

// Uppercase digits without a leading zero: "5", "A0".
void AppendShortHex(std::string& text, uint8_t value);

// Each byte as two digits followed by a space: "0A FF ".
void AppendHexValues(std::string& text, std::span<const uint8_t> values);

// The character itself, or "." when it is not shown as itself.
void AppendShownCharacter(std::string& text, uint8_t value);

// "'A' = 0x41", or "'.' = 0x82" for a byte not shown as itself; no line end.
void AppendQuotedByte(std::string& text, uint8_t value);

} // namespace norrik::decoders
