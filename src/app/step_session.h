#pragma once
// The step window without a window: the start address, the two rows that show the instruction
// executed and the one to execute next, the status line and the buttons' states, and the rules of
// Start, Next, Stop and closing. It drives the program grid and the message area through the
// workspace, and the register and memory windows through StepPeers.

#include <array>
#include <string>
#include <string_view>

#include "cpu/machine_host.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr int kStepGridColumns = 5;
inline constexpr int kStepGridRows = 2;

inline constexpr std::string_view kExecutedCaption = "Εντολή που εκτελέστηκε:";
inline constexpr std::string_view kToExecuteCaption = "Εντολή προς εκτέλεση:";
inline constexpr std::string_view kStepStartedMessage =
    "Η έναρξη της εκτέλεσης έγινε από την διεύθυνση ";
inline constexpr std::string_view kStepAddressNotInGridMessage =
    "Η διεύθυνση μνήμης δεν απεικονίζεται στο πλέγμα. Η εκτέλεση συνεχίζεται...";
inline constexpr std::string_view kStepPossibleAddressErrorMessage =
    "Πιθανό λάθος διεύθυνσης δοκιμάστε ξανά.";
inline constexpr std::string_view kStepRunningStatus = "Υπο Εκτέλεση...";
inline constexpr std::string_view kStepEndedStatus = "Τερματισμός Προγράμματος";
inline constexpr std::string_view kStepStoppedStatus = "Τερματισμός προγράμματος από τον χρήστη.";

// The windows that stepping redraws, and the program grid's enabled state, which the main window
// shows.
class StepPeers {
  public:
    virtual ~StepPeers() = default;
    virtual void SetProgramGridEnabled(bool enabled) = 0;
    // Shows the register window, which refills itself as it comes to the front.
    virtual void ShowRegisterWindow() = 0;
    // Refills the register window's fields, shown or not.
    virtual void RefillRegisters() = 0;
    // Re-draws the memory window's view from the address in its first row, shown or not.
    virtual void RedrawMemory() = 0;
    // Repaints the memory window as it is.
    virtual void RepaintMemory() = 0;
};

// What the window shows; the window copies it into its widgets after each handler.
struct StepWindowState {
    std::string startAddress = "0000";  // Edit1
    // StepGrid: column 0 holds the captions, columns 1 to 4 program-grid columns 1 to 4.
    std::array<std::array<std::string, kStepGridColumns>, kStepGridRows> rows{
        {{std::string(kExecutedCaption)}, {std::string(kToExecuteCaption)}}};
    std::string status;  // Label1
    bool statusVisible = false;
    bool nextVisible = false;
    bool nextEnabled = false;
    bool stopVisible = false;
    bool stopEnabled = false;
};

// The program-grid row whose address cell holds address, or 0. The search runs from row 1 to
// the first row with an empty address cell, past the grid's row count if need be. Throws
// ConversionError when an address cell on the way is not hexadecimal.
int FindGridRow(const grid::ProgramGrid& grid, int address);

class StepSession {
  public:
    StepSession(grid::Workspace& workspace, cpu::MachineHost& host, StepPeers& peers);

    StepWindowState& State() { return state_; }
    const StepWindowState& State() const { return state_; }
    // The program-grid row of the instruction PC points to; 0 when no line carries it.
    int CurrentRow() const { return currentRow_; }

    // Each time the window becomes visible.
    void FormShow();
    // Start: PC from the start address, one instruction executed. Throws ConversionError when
    // the start address is not hexadecimal, before anything is executed.
    void Start();
    // Next: one more instruction.
    void Next();
    // Stop: the status line says so and Next is disabled.
    void Stop();
    // Closing the window gives the program grid back.
    void Close();

    // Fills columns 1 to 4 of the two rows from the program grid; row is the line executed.
    void ShowStepRows(int row);

  private:
    grid::Workspace& workspace_;
    cpu::MachineHost& host_;
    StepPeers& peers_;
    StepWindowState state_;
    int currentRow_ = 0;
};

}  // namespace zorvan::app
