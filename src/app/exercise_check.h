#pragma once
// Βοήθεια → «Έλεγχος άσκησης…»: the program in the grid checked against an expectation file by
// the grader that zorvan-run --check uses, with its cases and points, each case on a fresh
// machine, so the student's memory and registers stay as they are. The result comes as the lines
// the result window lists.
//
//   const ExerciseResult result = CheckExercise(workspace.grid, "ask1.expect", fileText);
//   for (const ExerciseLine& line : result.lines) ...one row of the window...

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/program_grid.h"

namespace zorvan::app {

// One row of the result window: a case with its verdict, or one failed check under it.
struct ExerciseLine {
    std::string caseName;  // the case's name, or "" in a file without cases
    bool passed = false;
    bool isCase = true;  // a case's own row; false for a failed check under it
    std::string what;    // a check: "AC", "Z", "0300", "console", "end", ...
    std::string expected;
    std::string found;
    std::string message;      // Greek: "AC = 0B, αναμενόταν 0C"
    std::optional<int> cell;  // a check of a memory cell: its address, for the memory window
};

struct ExerciseResult {
    // The expectation file cannot be read, or the program cannot be run (its assembly fails,
    // it has no start address): the reason, in Greek. The cases then all fail.
    std::string problem;
    // The grid cell of an assembly failure, where the student is taken; row 0 for none.
    int problemRow = 0;
    int problemColumn = 0;
    std::vector<ExerciseLine> lines;
    int score = 0;
    int points = 0;
    bool passed = false;
    // For each failed case: the registers and cells its failed checks named, then the last
    // instructions executed, each with the step window's sentence.
    std::vector<std::string> explanation;
};

inline constexpr std::string_view kExercisePassed = "ΕΠΙΤΥΧΙΑ";
inline constexpr std::string_view kExerciseFailed = "ΑΠΟΤΥΧΙΑ";

// expectationText: the file's bytes as read (UTF-8); fileName names it in a reading failure.
ExerciseResult CheckExercise(const grid::ProgramGrid& grid, std::string_view fileName,
                             std::string_view expectationText);

// "Βαθμός: 7/10".
std::string ExerciseScoreText(const ExerciseResult& result);

}  // namespace zorvan::app
