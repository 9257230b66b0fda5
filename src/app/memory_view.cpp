#include "app/memory_view.h"

#include <algorithm>
#include <cstdint>

#include "text/characters.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

constexpr int kLineSize = kBytesPerLine;
constexpr int kPageSize = kLineSize * kMemoryLines;
constexpr char32_t kUndefinedByteCharacter = U'\uFFFD';

}  // namespace

int MemoryViewStart(std::string_view startText) {
    // A text of eight digits can read as a negative number; such a view would show addresses
    // below 0000, so it starts at 0000 instead.
    return std::clamp(text::HexTextToInt(startText), 0, kLastMemoryViewStart);
}

std::string MemoryCharacters(const std::array<std::string, kBytesPerLine>& byteTexts) {
    std::string characters;
    for (const std::string& byteText : byteTexts) characters += CellCharacter(byteText);
    return characters;
}

std::string CellCharacter(std::string_view byteText) {
    if (byteText == "00") return ".";
    std::string character;
    const auto byte = static_cast<std::uint8_t>(text::HexTextToInt(byteText) & 0xFF);
    text::AppendCharacter(character, text::Cp1253ToUnicode(byte).value_or(kUndefinedByteCharacter));
    return character;
}

MemoryDump ShowMemoryFrom(const cpu::Machine& machine, std::string_view startText) {
    MemoryDump dump;
    dump.start = MemoryViewStart(startText);
    for (int line = 0; line < kMemoryLines; ++line) {
        MemoryLine& row = dump.lines[static_cast<std::size_t>(line)];
        const int address = dump.start + kLineSize * line;
        row.address = text::FormatHex4(address);
        for (int column = 0; column < kBytesPerLine; ++column) {
            row.bytes[static_cast<std::size_t>(column)] =
                text::FormatHex2(machine.Read(address + column));
        }
        row.characters = MemoryCharacters(row.bytes);
    }
    return dump;
}

int LineDownStart(int start) {
    return std::min(start + kLineSize, kLastMemoryViewStart);
}

int LineUpStart(int start) {
    return start <= 0x000F ? 0 : start - kLineSize;
}

std::optional<int> PageDownStart(int start) {
    if (start + kPageSize <= kLastMemoryViewStart) return start + kPageSize;
    return std::nullopt;
}

std::optional<int> PageUpStart(int start) {
    if (start == 0) return 0;
    if (start - kPageSize >= 0) return start - kPageSize;
    return std::nullopt;
}

std::optional<std::string_view> CheckStartAddressText(std::string_view text) {
    if (text::CharacterCount(text) < 4) return kFewerThanFourDigitsWarning;
    if (!text::IsHexText(text)) return kWrongAddressWarning;
    return std::nullopt;
}

StoreOutcome StoreMemoryCell(cpu::Machine& machine, std::string_view rowAddressText, int column,
                             std::string_view cellText) {
    const std::int64_t rowAddress = text::HexTextToInt(rowAddressText);
    StoreOutcome outcome;
    if (column < 1 || column > kBytesPerLine) return outcome;

    // The row's address cell can be edited to anything; a byte is never written past either
    // end of memory.
    const std::int64_t address = rowAddress + (column - 1);
    if (!cpu::Machine::IsAddress(address)) {
        outcome.warning = kWrongAddressWarning;
        return outcome;
    }
    outcome.written = static_cast<int>(address);
    if (text::IsHexText(cellText)) {
        machine.Write(address, text::HexTextToInt(cellText));
        return outcome;
    }
    outcome.warning = "Το '" + std::string(cellText) + "' δεν είναι δεκαεξαδικός αριθμός";
    outcome.cellBecomesZero = true;
    machine.Write(address, 0);
    return outcome;
}

StoreOutcome StoreMemoryCell(grid::Workspace& workspace, std::string_view rowAddressText,
                             int column, std::string_view cellText) {
    const StoreOutcome outcome =
        StoreMemoryCell(workspace.machine, rowAddressText, column, cellText);
    if (outcome.written >= 0) workspace.slips.MarkWritten(outcome.written);
    return outcome;
}

int ColumnAfterEnter(int column) {
    return column <= 15 ? column + 1 : column;
}

}  // namespace zorvan::app
