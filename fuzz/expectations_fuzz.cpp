// Any bytes as an expectation file: read, and when they read, used to grade a small program that
// prints, asks for AC and stores, with the limits kept small. Nothing may crash; every case keeps
// its checks free of contradictions; a console text written back the way the verdicts write it
// must read back as the same text; every message is whole (no NUL, no other control byte).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "app/expectations.h"
#include "app/grade_reports.h"
#include "app/grader.h"

namespace {

constexpr std::string_view kProgram =
    "_ 0200 JSR FFFE _ _\r\n"
    "_ 0203 STA 0300 _ _\r\n"
    "_ 0206 JSR FFFC _ _\r\n"
    "_ 0209 JSR FFFF _ _\r\n"
    "_ 020C PHA _ _\r\n"
    "_ 020D _ _ _ _\r\n";

// A message that can be printed whole on one line.
void RequireWhole(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorvan::app;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto read = ReadExpectations(text);
    if (const auto* error = std::get_if<ExpectationError>(&read)) {
        if (error->line < 1 || error->message.empty()) std::abort();
        RequireWhole(error->message);
        return 0;
    }
    Expectations& expectations = std::get<Expectations>(read);
    if (expectations.cases.empty() || expectations.cases.size() > 64) return 0;
    for (ExpectationCase& c : expectations.cases) {
        if (c.limit > 10'000) c.limit = 10'000;
        for (const Expectation& check : c.checks) {
            if (check.kind != Expectation::Kind::kConsole &&
                check.kind != Expectation::Kind::kConsoleContains &&
                check.kind != Expectation::Kind::kConsoleStarts)
                continue;
            auto again = ReadExpectations("console " + QuotedConsoleText(check.console));
            const auto* back = std::get_if<Expectations>(&again);
            if (back == nullptr || back->cases.front().checks.front().console != check.console)
                std::abort();
        }
    }
    GradeOptions options;
    options.explain = true;
    const Verdict verdict = GradeProgram(expectations, "p.zrv", kProgram, options);
    if (verdict.cases.size() != expectations.cases.size()) std::abort();
    if (verdict.score > verdict.points || verdict.points != expectations.TotalPoints())
        std::abort();
    for (const CaseVerdict& c : verdict.cases) {
        if (verdict.problem.empty() && c.passed != c.mismatches.empty()) std::abort();
    }
    RequireWhole(VerdictLine(verdict));
    (void)VerdictsJson({verdict});
    (void)VerdictsCsv(expectations, {verdict});
    (void)VerdictsJunit({verdict});
    return 0;
}
