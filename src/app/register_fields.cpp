#include "app/register_fields.h"

#include <cstdint>
#include <cstdio>

#include "cpu/registers.h"
#include "text/characters.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

constexpr std::array<cpu::StatusBit, 7> kFieldBits{cpu::kN, cpu::kV, cpu::kB, cpu::kD,
                                                   cpu::kI, cpu::kZ, cpu::kC};

bool IsBitField(int field) {
    return field >= kFirstBitField && field <= kLastBitField;
}

std::string FormatHex(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    return buffer;
}

// The register or bit a field shows.
cpu::MachineField FieldShownIn(int field) {
    switch (field) {
        case kPcField:
            return cpu::MachineField::Of(cpu::Register::kPC);
        case kAcField:
            return cpu::MachineField::Of(cpu::Register::kAC);
        case kXrField:
            return cpu::MachineField::Of(cpu::Register::kXR);
        case kYrField:
            return cpu::MachineField::Of(cpu::Register::kYR);
        case kSpField:
            return cpu::MachineField::Of(cpu::Register::kSP);
        default:
            return cpu::MachineField::OfBit(StatusBitOfField(field));
    }
}

// The shown text of a register can be longer than the field allows to type (a value above FF),
// so the checks ask for at least, not exactly, the field's digits: a value shown is accepted back.
std::optional<std::string_view> CheckDigits(std::string_view text, std::size_t digits,
                                            std::string_view fewerWarning,
                                            std::string_view wrongWarning) {
    if (text::CharacterCount(text) < digits) return fewerWarning;
    if (!text::IsHexText(text)) return wrongWarning;
    return std::nullopt;
}

}  // namespace

RegisterFieldLayout RegisterFieldLayoutOf(int field) {
    if (field == kPcField) return {4, true};
    if (IsBitField(field)) return {1, false};
    return {2, true};
}

cpu::StatusBit StatusBitOfField(int field) {
    return kFieldBits[static_cast<std::size_t>(field - kFirstBitField)];
}

std::array<std::string, kRegisterFieldCount> ShowRegisters(const cpu::Machine& machine) {
    std::array<std::string, kRegisterFieldCount> texts;
    for (int field = 0; field < kRegisterFieldCount; ++field) {
        const std::int32_t value = cpu::FieldOf(machine, FieldShownIn(field));
        texts[static_cast<std::size_t>(field)] = field == kPcField   ? text::FormatHex4(value)
                                                 : IsBitField(field) ? FormatHex(value)
                                                                     : text::FormatHex2(value);
    }
    return texts;
}

std::optional<std::string_view> ExitRegisterField(cpu::Machine& machine, int field,
                                                  std::string_view text) {
    if (field == kPcField) {
        auto warning =
            CheckDigits(text, 4, kFewerThanFourRegisterDigitsWarning, kWrongProgramCounterWarning);
        if (!warning) cpu::FieldOf(machine, FieldShownIn(field)) = text::HexTextToInt(text);
        return warning;
    }
    if (IsBitField(field)) {
        if (text != "0" && text != "1") return kWrongBitWarning;
        cpu::FieldOf(machine, FieldShownIn(field)) = text == "1" ? 1 : 0;
        return std::nullopt;
    }
    auto warning =
        CheckDigits(text, 2, kFewerThanTwoDigitsWarning,
                    field == kAcField ? kWrongAccumulatorWarning : kWrongIndexOrStackWarning);
    if (!warning) cpu::FieldOf(machine, FieldShownIn(field)) = text::HexTextToInt(text);
    return warning;
}

bool FieldChanged(const grid::ChangeMarks& marks, int field) {
    using Marks = grid::ChangeMarks;
    const int mark = field == kPcField   ? Marks::kPC
                     : field == kAcField ? Marks::kAC
                     : field == kXrField ? Marks::kXR
                     : field == kYrField ? Marks::kYR
                     : field == kSpField ? Marks::kSP
                                         : Marks::kFirstStatusBit + StatusBitOfField(field);
    return marks.registers[static_cast<std::size_t>(mark)];
}

}  // namespace zorvan::app
