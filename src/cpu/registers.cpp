#include "cpu/registers.h"

#include <array>

namespace zorvan::cpu {
namespace {

// In the order of Register and of StatusBit.
constexpr std::array<std::string_view, 6> kRegisterNames{"AC", "XR", "YR", "SP", "PC", "RA"};
constexpr std::array<std::string_view, kStatusBitCount> kBitNames{"N", "V", "-", "B",
                                                                  "D", "I", "Z", "C"};

}  // namespace

std::string_view RegisterName(Register reg) {
    return kRegisterNames[static_cast<std::size_t>(reg)];
}

std::string_view StatusBitName(int bit) {
    return kBitNames[static_cast<std::size_t>(bit)];
}

std::string_view FieldName(const MachineField& field) {
    return field.isStatusBit ? StatusBitName(field.bit) : RegisterName(field.reg);
}

std::optional<MachineField> FieldNamed(std::string_view name) {
    for (std::size_t k = 0; k < kRegisterNames.size(); ++k) {
        if (kRegisterNames[k] == name) return MachineField::Of(static_cast<Register>(k));
    }
    for (std::size_t k = 0; k < kBitNames.size(); ++k) {
        if (kBitNames[k] == name) return MachineField::OfBit(static_cast<int>(k));
    }
    return std::nullopt;
}

std::int32_t& FieldOf(Machine& machine, const MachineField& field) {
    if (field.isStatusBit) return machine.status[static_cast<std::size_t>(field.bit)];
    switch (field.reg) {
        case Register::kAC:
            return machine.AC;
        case Register::kXR:
            return machine.XR;
        case Register::kYR:
            return machine.YR;
        case Register::kSP:
            return machine.SP;
        case Register::kPC:
            return machine.PC;
        case Register::kRA:
            break;
    }
    return machine.returnAddress;
}

std::int32_t FieldOf(const Machine& machine, const MachineField& field) {
    return FieldOf(const_cast<Machine&>(machine), field);
}

}  // namespace zorvan::cpu
