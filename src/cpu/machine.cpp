#include "cpu/machine.h"

namespace zorvan::cpu {

int Machine::PackStatus() const {
    int byte = 0;
    int weight = 1;
    for (int k = kStatusBitCount - 1; k >= 0; --k) {
        if (status[k] != 0) byte += weight;
        weight *= 2;
    }
    return byte;
}

void Machine::UnpackStatus(std::int64_t byte) {
    int mask = 1;
    for (int k = kStatusBitCount - 1; k >= 0; --k) {
        status[k] = (byte & mask) != 0 ? 1 : 0;
        mask *= 2;
    }
}

void Machine::ClearMemory() {
    memory.fill(0);
}

void Machine::ClearRegisters() {
    YR = 0;
    XR = 0;
    AC = 0;
    PC = 0;
    SP = 255;
    status.fill(0);
}

}  // namespace zorvan::cpu
