#include "cpu/interpreter.h"

namespace zorvan::cpu {

const std::array<DecodedOpcode, 256>& DecodeTable() {
    static const std::array<DecodedOpcode, 256> table{};
    return table;
}

DecodedOpcode Decode(int opcode) {
    return opcode >= 0 && opcode < 256 ? DecodeTable()[opcode] : DecodedOpcode{};
}

int ExecuteInstruction(Machine&, MachineHost&, int, int address) {
    return address;
}

}  // namespace zorvan::cpu
