#pragma once
// Grading students' programs against an expectation file: each program is read, and for each
// case assembled on a fresh machine (memory and registers at their start values, as the desktop
// program starts), set up as the case says, run, and its end compared with what it expects.
//
//   const std::vector<Verdict> verdicts = GradeFiles(expectations, ProgramPaths({"ask1"}));
//   for (const Verdict& verdict : verdicts) puts(VerdictLine(verdict).c_str());
//   puts(SummaryLine(verdicts).c_str());            // "28 passed, 2 failed, average 1.87/2"
//
// grade_reports.h writes the verdicts as JSON, CSV or JUnit XML.

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
    std::string what;      // "AC", "Z", "0401", "console", "end", "time", "max bytes", ...
    int line = 0;          // its line in the expectation file; 0 for an end or time unasked
    std::string expected;  // as the file writes it: "0C", "1", "empty cell", a console's text
    std::string found;     // the same way
    std::string message;   // Greek: "AC = 0B, αναμενόταν 0C"
};

struct CaseVerdict {
    std::string name;  // empty for a file without cases
    int points = 1;
    bool passed = false;
    std::optional<cpu::RunEnd> end;    // when it ran
    std::int64_t executed = 0;         // instructions executed
    bool consoleLonger = false;        // the console held more text than the checks needed
    std::vector<Mismatch> mismatches;  // in the order of the expectation file
    // With GradeOptions::explain, for a failed case: the registers and cells its failed checks
    // named, then the last instructions executed with the step window's sentence.
    std::vector<std::string> explanation;
};

struct Verdict {
    std::string name;  // the program file as named on the command line
    bool passed = false;
    // Why the program could not be run: the file's read failure, the assembly error with its
    // line, or a missing start address. Empty when it ran.
    std::string problem;
    std::vector<CaseVerdict> cases;  // one a case of the expectations, in their order
    int score = 0;                   // the points of the cases passed
    int points = 0;                  // of all cases
};

struct GradeOptions {
    unsigned threads = 0;        // 0: one a processor core
    double timeoutSeconds = 10;  // wall time for each file, all its cases
    bool explain = false;
};

inline constexpr int kExplainedInstructions = 20;

// A program file's bytes graded.
Verdict GradeProgram(const Expectations& expectations, std::string_view name,
                     std::string_view programBytes, const GradeOptions& options = {});
// The file read and graded; a file that cannot be read fails with its reason.
Verdict GradeFile(const Expectations& expectations, const std::string& path, FileStore& store,
                  const GradeOptions& options = {});
// Each file graded independently, on threads, in the order given.
std::vector<Verdict> GradeFiles(const Expectations& expectations,
                                const std::vector<std::string>& paths,
                                const GradeOptions& options = {});

// The files a command line names, in its order: a folder stands for every entry in it named
// .zrv or .txt (whatever it is: a link to nowhere or a pipe fails with its reason), sorted by
// name; anything else is taken as a file (and fails if it cannot be read).
std::vector<std::string> ProgramPaths(const std::vector<std::string>& arguments);

// A roster's names, one a line ("#" starts a comment; a ".zrv" or ".txt" after a name is
// dropped), and the verdicts of the students on it that no path names: "δεν παραδόθηκε".
std::vector<std::string> RosterNames(std::string_view utf8);
std::vector<Verdict> NotSubmitted(const Expectations& expectations,
                                  const std::vector<std::string>& roster,
                                  const std::vector<std::string>& paths);

// "ΕΠΙΤΥΧΙΑ ask1/maria.zrv 1/1" or "ΑΠΟΤΥΧΙΑ ask1/nikos.zrv 0/1: AC = 0B, αναμενόταν 0C; ...",
// one line with no control character; a failed case that has a name is named first.
std::string VerdictLine(const Verdict& verdict);
// The explanation lines of a verdict's failed cases, each indented, each ending with "\n".
std::string ExplanationText(const Verdict& verdict);
// "28 passed, 2 failed, average 1.87/2".
std::string SummaryLine(const std::vector<Verdict>& verdicts);
}  // namespace zorvan::app
