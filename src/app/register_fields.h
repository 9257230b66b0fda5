#pragma once
// The register window's twelve fields, without a window: which register each field shows, its
// length limit and case, how it is filled from the machine, and the check that stores it when the
// field is left.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "cpu/machine.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr int kRegisterFieldCount = 12;

// Fields in tab order: PC, the status bits N V B D I Z C, AC, XR, YR, SP.
enum RegisterField : int {
    kPcField = 0,
    kFirstBitField = 1,
    kLastBitField = 7,
    kAcField = 8,
    kXrField = 9,
    kYrField = 10,
    kSpField = 11,
};

struct RegisterFieldLayout {
    int maxLength;
    bool upperCase;
};

RegisterFieldLayout RegisterFieldLayoutOf(int field);

// The status bit a bit field shows (the "-" bit has no field).
cpu::StatusBit StatusBitOfField(int field);

// Whether the last step or run changed what the field shows, for it to be highlighted.
bool FieldChanged(const grid::ChangeMarks& marks, int field);

// The twelve texts: PC "%04X", the bits "%X", AC XR YR SP "%02X". A value wider than its field
// shows all its digits.
std::array<std::string, kRegisterFieldCount> ShowRegisters(const cpu::Machine& machine);

inline constexpr std::string_view kFewerThanFourRegisterDigitsWarning =
    "Οχι λιγότερα από τέσσερα δεκαεξαδικά ψηφία.";
inline constexpr std::string_view kWrongProgramCounterWarning =
    "Λάθος τιμή καταχωρητή. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία.";
inline constexpr std::string_view kWrongBitWarning =
    "Λάθος τιμή καταχωρητή. Δεκτά μόνο δυαδικά ψηφία (bit 0/1).";
inline constexpr std::string_view kFewerThanTwoDigitsWarning =
    "Οχι λιγότερα από δύο δεκαεξαδικά ψηφία.";
inline constexpr std::string_view kWrongAccumulatorWarning =
    "Λάθος τιμή καταχωρητή. Δεκτά μόνο δύο δεκαεξαδικά ψηφία.";
inline constexpr std::string_view kWrongIndexOrStackWarning =
    "Λάθος τιμή καταχωρητή. Δεκτά μόνο δυο δεκαεξαδικά ψηφία.";

// Leaving a field: stores its text into the machine and gives nothing, or leaves the machine as
// it was and gives the warning to show.
std::optional<std::string_view> ExitRegisterField(cpu::Machine& machine, int field,
                                                  std::string_view text);

}  // namespace zorvan::app
