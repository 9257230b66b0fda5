#pragma once
// The registers and status bits by the names that the windows, the expectation files, the step
// sentence and the messages give them: AC XR YR SP PC RA (the return address) and the bits
// N V - B D I Z C. Every reader and writer of a register by name goes through here.
//
//   const std::optional<MachineField> field = FieldNamed("XR");
//   FieldOf(machine, *field) = 0x05;                   // machine.XR = 5

#include <cstdint>
#include <optional>
#include <string_view>

#include "cpu/machine.h"

namespace zorvan::cpu {

enum class Register : std::uint8_t { kAC, kXR, kYR, kSP, kPC, kRA };

// A register or one status bit.
struct MachineField {
    bool isStatusBit = false;
    Register reg = Register::kAC;  // unless isStatusBit
    int bit = 0;                   // a StatusBit, when isStatusBit

    static constexpr MachineField Of(Register reg) { return {false, reg, 0}; }
    static constexpr MachineField OfBit(int bit) { return {true, Register::kAC, bit}; }
    bool operator==(const MachineField&) const = default;
};

// "AC", "PC", "-", "Z".
std::string_view RegisterName(Register reg);
std::string_view StatusBitName(int bit);
std::string_view FieldName(const MachineField& field);

// The field of that exact name (upper case, "-" included), or none.
std::optional<MachineField> FieldNamed(std::string_view name);

std::int32_t& FieldOf(Machine& machine, const MachineField& field);
std::int32_t FieldOf(const Machine& machine, const MachineField& field);

}  // namespace zorvan::cpu
