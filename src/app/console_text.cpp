#include "app/console_text.h"

#include <cstdint>

#include "text/characters.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

namespace zorvan::app {

std::string ConsoleCharacter(std::int64_t value) {
    const auto byte = static_cast<std::uint8_t>(value & 0xFF);
    std::string character;
    if (byte != 0)
        text::AppendCharacter(character, text::Cp1253ToUnicode(byte).value_or(U'\uFFFD'));
    return character;
}

std::optional<std::string> EnterAccumulator(cpu::Machine& machine, std::string_view text) {
    if (text.empty() || !text::IsHexText(text)) return std::nullopt;
    machine.AC = text::HexTextToInt(text);
    return "AC:" + ConsoleCharacter(machine.AC);
}

}  // namespace zorvan::app
