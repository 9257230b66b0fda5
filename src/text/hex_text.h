#pragma once
// Hexadecimal and decimal text: the tests every checker uses and the conversions that may fail.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvan::text {

bool IsHexDigit(char32_t character);
// True when every character is 0-9, A-F or a-f; true for the empty text.
bool IsHexText(std::string_view text);
// True when every character is an ASCII letter or digit; true for the empty text.
bool IsAlnumText(std::string_view text);

// Reads hexadecimal digits (either case, leading zeros allowed) whose value fits in 32 bits, as a
// 32-bit two's-complement value: FFFFFFFF is -1. Nothing for anything else, the empty text
// included. The question "is this text a hexadecimal number?" is asked here.
std::optional<std::int32_t> ParseHex(std::string_view text);

// ParseHex for a command that fails on a text that is no number: throws ConversionError with
// NotHexMessage(text).
std::int32_t HexTextToInt(std::string_view text);
// "Το '…' δεν είναι έγκυρος δεκαεξαδικός αριθμός."
std::string NotHexMessage(std::string_view text);

// Reads an integer with an optional sign that fits in 32 bits: decimal digits, or hexadecimal
// digits after "0x" ("0x3" is 3); otherwise throws ConversionError quoting the text.
std::int32_t IntegerTextToInt(std::string_view text);

// "%04X" and "%02X": upper-case, at least four (two) digits, more when the value needs them.
// A negative value shows as its 32-bit two's complement, as printf would.
std::string FormatHex4(std::int64_t value);
std::string FormatHex2(std::int64_t value);

}  // namespace zorvan::text
