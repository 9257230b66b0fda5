#include "app/exercise_check.h"

#include <algorithm>
#include <memory>
#include <tuple>
#include <utility>
#include <variant>

#include "app/expectations.h"
#include "app/grader.h"
#include "app/program_file.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::app {

namespace {

// The cell the main window's Assemble would take the student to: {column, row}, row 0 when the
// grid assembles.
std::pair<int, int> AssemblyFault(const grid::ProgramGrid& grid) {
    const auto scratch = std::make_unique<cpu::Machine>();
    int row = 0;
    try {
        const assembler::AssemblyResult result = assembler::Assemble(grid, *scratch, &row);
        if (result.kind == assembler::AssemblyResult::Kind::kSummary) return {0, 0};
        return {result.column, result.row};
    } catch (const text::ConversionError&) {
        grid::ProgramGrid atFault = grid;
        assembler::GoToCellAtFault(atFault, row);
        return {atFault.Col(), row};
    }
}

// A check of a memory cell is named by its four-digit address.
std::optional<int> CellOf(const std::string& what) {
    if (what.size() != 4) return std::nullopt;
    return text::ParseHex(what);
}

}  // namespace

ExerciseResult CheckExercise(const grid::ProgramGrid& grid, std::string_view fileName,
                             std::string_view expectationText) {
    ExerciseResult result;
    const auto read = ReadExpectations(expectationText);
    if (const auto* error = std::get_if<ExpectationError>(&read)) {
        result.problem = ExpectationErrorText(fileName, *error);
        return result;
    }
    GradeOptions options;
    options.threads = 1;
    options.explain = true;
    const Verdict verdict =
        GradeProgram(std::get<Expectations>(read), "", WriteProgramText(grid), options);
    result.problem = verdict.problem;
    if (!verdict.problem.empty()) {
        std::tie(result.problemColumn, result.problemRow) = AssemblyFault(grid);
    }
    result.score = verdict.score;
    result.points = verdict.points;
    result.passed = verdict.passed;
    for (const CaseVerdict& run : verdict.cases) {
        ExerciseLine& line = result.lines.emplace_back();
        line.caseName = run.name;
        line.passed = run.passed;
        if (!run.passed && !verdict.problem.empty()) line.message = verdict.problem;
        for (const Mismatch& mismatch : run.mismatches) {
            result.lines.push_back({run.name, false, false, mismatch.what, mismatch.expected,
                                    mismatch.found, mismatch.message, CellOf(mismatch.what)});
        }
        if (run.explanation.empty()) continue;
        if (!run.name.empty()) result.explanation.push_back("«" + run.name + "»:");
        for (const std::string& said : run.explanation) result.explanation.push_back("  " + said);
    }
    return result;
}

std::string ExerciseScoreText(const ExerciseResult& result) {
    return "Βαθμός: " + std::to_string(result.score) + "/" + std::to_string(result.points);
}

}  // namespace zorvan::app
