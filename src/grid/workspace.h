#pragma once
// The main window's document and machine, without a window: the program grid, the message area
// under it, the changed flag, whether Assemble/Run/Step are enabled, the caption, and the machine.
// The main window shows this state; every rule about it lives here and is tested headless.

#include <string>
#include <string_view>

#include <array>
#include <vector>

#include "cpu/machine.h"
#include "cpu/slip_checks.h"
#include "cpu/step_history.h"
#include "grid/program_grid.h"

namespace zorvan::grid {

// The message area's two colours: blue for a notice or prompt, red for a refusal or error.
enum class Tone { kNotice, kError };

// The message area under the program grid, with its heading ("Debugger").
struct MessageArea {
    std::string text;
    Tone tone = Tone::kError;
    bool headingEnabled = false;
    bool textEnabled = false;
};

inline constexpr std::string_view kApplicationTitle = "Zorvan";

// What the last step or run of the step window changed, for the register and memory windows to
// highlight until the next one.
struct ChangeMarks {
    // PC, AC, XR, YR, SP, then the eight status bits in display order.
    static constexpr int kPC = 0, kAC = 1, kXR = 2, kYR = 3, kSP = 4, kFirstStatusBit = 5;
    std::array<bool, 5 + cpu::kStatusBitCount> registers{};
    std::vector<int> cells;  // ascending

    bool Cell(int address) const;
    void Clear() { *this = {}; }
    void SetRegisters(const cpu::RegisterState& before, const cpu::RegisterState& after);
};

struct Workspace {
    ProgramGrid grid;
    MessageArea message;
    bool changed = false;
    bool executionEnabled = false;  // Assemble, Run and Step execution, switched together
    std::string caption{kApplicationTitle};
    std::string openDialogFileName;  // the name last chosen in the open dialog; the print heading
    // The file the program was last read from or written to, where Quick save writes; empty for
    // a program that has no file yet (after New or Clear grid).
    std::string filePath;
    cpu::Machine machine;
    // The step window's instructions, to step back through; anything else that changes the
    // machine ends it (EndHistory).
    cpu::StepHistory history;
    ChangeMarks marks;
    // The checks of a student's slips that the runs make, and the cells written so far.
    cpu::SlipChecks slips;

    // why, when given, is what Πίσω then tells.
    void EndHistory(std::string why = {}) {
        history.End(std::move(why));
        marks.Clear();
    }

    // Enables the heading and the message area, sets its tone, replaces the text, and moves the
    // grid's current column, leaving its row.
    void ShowMessage(std::string_view text, int column, Tone tone);
    // Clear memory: every cell 0 again, and none written.
    void ClearMemory() {
        machine.ClearMemory();
        slips.ForgetWritten();
    }
    // Empties the message area's text; whether it is enabled stays as it was.
    void ClearMessage() { message.text.clear(); }
};

}  // namespace zorvan::grid
