#pragma once
// Expectation files: what a teacher expects of a program's run, one statement a line, for
// zorvan-run --check. Plain UTF-8 text; "#" starts a comment outside a quoted text.
//
//   from 0200                 start address (default: the first line's address)
//   limit 1000000             instruction limit (default 10,000,000)
//   input 41 0A               answers typed into the console's field, one a question, in order
//   poke 0300: 05 07          memory cells set after assembling, before the run
//   set XR=03 C=1             registers (AC XR YR SP PC RA) and status bits set before the run
//   end empty cell            or: end stack full, end limit, end not executed
//   AC=0C XR=05 Z=1           registers and status bits (N V B D I Z C) at the end
//   0400: 0C 0D 0E            memory cells from an address at the end
//   console "ΑΘΡΟΙΣΜΑ 12"     the console's whole text at the end
//
//   auto read = ReadExpectations(text);
//   if (auto* error = std::get_if<ExpectationError>(&read)) puts(ExpectationErrorText(...));
//
// Every statement is optional and numbers are hexadecimal except the limit. Names and keywords
// may be written in either case.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cpu/registers.h"
#include "cpu/run_loop.h"

namespace zorvan::app {

inline constexpr std::int64_t kDefaultInstructionLimit = 10'000'000;

using cpu::MachineField;

// Set before the run, in the file's order.
struct MachineSetting {
    int line = 0;
    bool isMemory = false;
    MachineField field;                // unless isMemory
    int address = 0;                   // isMemory: the first cell
    std::vector<std::int32_t> values;  // one for a field, one a cell for memory
};

// One thing checked at the end, in the file's order.
struct Expectation {
    enum class Kind { kEnd, kField, kMemory, kConsole };
    Kind kind = Kind::kEnd;
    int line = 0;
    cpu::RunEnd end = cpu::RunEnd::kEmptyCell;  // kEnd
    MachineField field;                         // kField
    int address = 0;                            // kMemory: the first cell
    std::vector<std::int32_t> values;           // kField: one; kMemory: one a cell, 0000-FFFF
    std::string console;                        // kConsole, its escapes undone
};

struct Expectations {
    std::optional<int> from;
    std::int64_t limit = kDefaultInstructionLimit;
    std::vector<std::string> inputs;  // hexadecimal texts, as typed into the console's field
    std::vector<MachineSetting> settings;
    std::vector<Expectation> checks;
    bool endStated = false;  // an end statement is among the checks
};

// A line the reader cannot take: its number (from 1) and the Greek reason.
struct ExpectationError {
    int line = 0;
    std::string message;
};

std::variant<Expectations, ExpectationError> ReadExpectations(std::string_view utf8);

// "ask1.expect, γραμμή 3: ..." for the user.
std::string ExpectationErrorText(std::string_view fileName, const ExpectationError& error);

// The words of an end, as the files write it ("empty cell", "stack full", "limit", "not
// executed"), and in Greek as the verdicts write it.
std::string_view EndKeyword(cpu::RunEnd end);
std::string_view EndInGreek(cpu::RunEnd end);

// A console text between double quotes with \n, \t, \", \\ and \xHH for the other control
// characters: how the files write it and the verdicts show it.
std::string QuotedConsoleText(std::string_view utf8);

}  // namespace zorvan::app
