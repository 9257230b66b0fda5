#pragma once
// Grading students' programs against an expectation file: each program is read, assembled on a
// fresh machine (memory and registers at their start values, as the desktop program starts),
// set up as the file says, run, and its end compared with what the file expects.
//
//   const std::vector<Verdict> verdicts = GradeFiles(expectations, ProgramPaths({"ask1"}));
//   for (const Verdict& verdict : verdicts) puts(VerdictLine(verdict).c_str());
//   puts(SummaryLine(verdicts).c_str());                      // "28 passed, 2 failed"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/expectations.h"
#include "app/program_file.h"
#include "cpu/run_loop.h"

namespace zorvan::app {

// One expectation that the run did not meet.
struct Mismatch {
    std::string what;      // "AC", "Z", "0401", "console" or "end"
    int line = 0;          // its line in the expectation file; 0 for the limit reached unasked
    std::string expected;  // as the file writes it: "0C", "1", "empty cell", the console's text
    std::string found;     // the same way; "not limit" is expected when the limit was unasked
    std::string message;   // Greek: "AC = 0B, αναμενόταν 0C"
};

struct Verdict {
    std::string name;  // the program file as named on the command line
    bool passed = false;
    // Why the program could not be run: the file's read failure, the assembly error with its
    // line, or a missing start address. Empty when it ran.
    std::string problem;
    std::optional<cpu::RunEnd> end;    // when it ran
    std::int64_t executed = 0;         // instructions executed
    std::vector<Mismatch> mismatches;  // in the order of the expectation file
};

// A program file's bytes graded.
Verdict GradeProgram(const Expectations& expectations, std::string_view name,
                     std::string_view programBytes);
// The file read and graded; a file that cannot be read fails with its reason.
Verdict GradeFile(const Expectations& expectations, const std::string& path, FileStore& store);
// Each file graded independently, on threads (0: one a processor core), in the order given.
std::vector<Verdict> GradeFiles(const Expectations& expectations,
                                const std::vector<std::string>& paths, unsigned threads = 0);

// The files a command line names, in its order: a folder stands for every .zrv file in it,
// sorted by name; anything else is taken as a file (and fails if it cannot be read).
std::vector<std::string> ProgramPaths(const std::vector<std::string>& arguments);

// "ΕΠΙΤΥΧΙΑ ask1/maria.zrv" or "ΑΠΟΤΥΧΙΑ ask1/nikos.zrv: AC = 0B, αναμενόταν 0C; ...", one line
// with no control character.
std::string VerdictLine(const Verdict& verdict);
// "28 passed, 2 failed".
std::string SummaryLine(const std::vector<Verdict>& verdicts);
// The verdicts as one JSON document (the README gives its schema), ending with a line break.
std::string VerdictsJson(const std::vector<Verdict>& verdicts);

}  // namespace zorvan::app
