#include "grid/workspace.h"

#include <algorithm>

namespace zorvan::grid {

void Workspace::ShowMessage(std::string_view text, int column, Tone tone) {
    message.headingEnabled = true;
    message.textEnabled = true;
    message.tone = tone;
    message.text = text;
    grid.SetCol(column);
}

bool ChangeMarks::Cell(int address) const {
    return std::binary_search(cells.begin(), cells.end(), address);
}

void ChangeMarks::SetRegisters(const cpu::RegisterState& before, const cpu::RegisterState& after) {
    registers[kPC] = before.PC != after.PC;
    registers[kAC] = before.AC != after.AC;
    registers[kXR] = before.XR != after.XR;
    registers[kYR] = before.YR != after.YR;
    registers[kSP] = before.SP != after.SP;
    for (int k = 0; k < cpu::kStatusBitCount; ++k)
        registers[kFirstStatusBit + k] = before.status[k] != after.status[k];
}

}  // namespace zorvan::grid
