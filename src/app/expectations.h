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
//   console contains "12"     or a part of it, or its start (console starts "ΑΘ")
//   max instructions 500      at most so many instructions executed
//   max bytes 40              an assembled program of at most so many bytes
//   case "άθροισμα 1..5"      starts a case: a run of its own on a fresh machine
//   points 3                  the case's weight in the score (default 1)
//
// Statements before the first case are shared by every case; a file without a case statement
// is one unnamed case. A case's own from, limit and points replace the shared ones.
//
//   auto read = ReadExpectations(text);
//   if (auto* error = std::get_if<ExpectationError>(&read)) puts(ExpectationErrorText(...));
//
// Numbers are hexadecimal except the limit, the maxima and the points. Names and keywords may
// be written in either case.

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
    enum class Kind {
        kEnd,
        kField,
        kMemory,
        kConsole,
        kConsoleContains,
        kConsoleStarts,
        kMaxInstructions,
        kMaxBytes
    };
    Kind kind = Kind::kEnd;
    int line = 0;
    cpu::RunEnd end = cpu::RunEnd::kEmptyCell;  // kEnd
    MachineField field;                         // kField
    int address = 0;                            // kMemory: the first cell
    std::vector<std::int32_t> values;           // kField: one; kMemory: one a cell, 0000-FFFF
    std::string console;                        // the console kinds, escapes undone
    std::int64_t count = 0;                     // the maxima
};

// One run of the program and what it must meet.
struct ExpectationCase {
    std::string name;  // empty in a file without case statements
    int line = 0;      // of its case statement
    int points = 1;
    std::optional<int> from;
    std::int64_t limit = kDefaultInstructionLimit;
    std::vector<std::string> inputs;  // hexadecimal texts, as typed into the console's field
    std::vector<MachineSetting> settings;
    std::vector<Expectation> checks;
    bool endStated = false;  // an end statement is among the checks
};

struct Expectations {
    std::vector<ExpectationCase> cases;  // at least one, in the file's order

    int TotalPoints() const;
    // The most console text any check can need to compare: a longer console is cut there.
    std::size_t ConsoleBytesNeeded() const;
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

// A text that a message may show whole: control bytes and bytes that are not UTF-8 written as
// \xHH, so that a NUL cannot cut it short nor an escape act on a terminal.
std::string VisibleText(std::string_view bytes);

// "«word»", cut after 40 characters with "…".
std::string QuotedWord(std::string_view text);

// A byte order mark of UTF-16, or the NULs that its Latin letters have in every other byte.
bool LooksLikeUtf16(std::string_view bytes);

// Why bytes are no UTF-8 text, or nothing: UTF-16 is named, surrogates and overlong forms are
// refused. line receives the line (from 1) of the first fault.
std::optional<std::string> Utf8Fault(std::string_view bytes, int* line = nullptr);

}  // namespace zorvan::app
