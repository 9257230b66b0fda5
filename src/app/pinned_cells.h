#pragma once
// The cells the student pins in the step window: each shown with its value and its character
// after every step, marked when the last step changed it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/machine.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr std::size_t kMostPinnedCells = 16;
inline constexpr std::string_view kPinNeedsAddressMessage =
    "Γράψτε τη διεύθυνση του κελιού με ένα έως τέσσερα δεκαεξαδικά ψηφία (0000–FFFF).";
inline constexpr std::string_view kPinsFullMessage =
    "Καρφιτσώνονται ως 16 κελιά: αφαιρέστε πρώτα ένα.";

struct PinnedCellRow {
    std::string address;    // four digits
    std::string value;      // two digits, as the memory window shows it
    std::string character;  // as the memory window's character column shows it
    bool changed = false;   // by the last step, run or Πίσω
};

class PinnedCells {
  public:
    // Pins the cell that text names; returns "" or why it is not pinned (a cell already pinned
    // is not pinned twice, and says so).
    std::string Add(std::string_view text);
    // The index-th pinned cell goes; an index past the list does nothing.
    void Remove(std::size_t index);
    const std::vector<int>& Addresses() const { return addresses_; }
    std::vector<PinnedCellRow> Rows(const cpu::Machine& machine,
                                    const grid::ChangeMarks& marks) const;

  private:
    std::vector<int> addresses_;  // in the order pinned
};

}  // namespace zorvan::app
