#pragma once
// The console's text, without a window: the character a value stands for and the answer typed
// into the console's field.

#include <optional>
#include <string>
#include <string_view>

#include "cpu/machine.h"

namespace zorvan::app {

inline constexpr std::string_view kAskForAccumulatorText = "Δώσε τον AC";

// The Windows-1253 character of the value's low byte as UTF-8: "" for 0, U+FFFD for the bytes
// the code page leaves undefined.
std::string ConsoleCharacter(std::int64_t value);

// Enter in the field: a non-empty hexadecimal text sets AC and gives the line "AC:" and AC's
// character to add; anything else changes nothing. Throws ConversionError for a hexadecimal
// text too long for 32 bits.
std::optional<std::string> EnterAccumulator(cpu::Machine& machine, std::string_view text);

}  // namespace zorvan::app
