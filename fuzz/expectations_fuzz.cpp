// Any bytes as an expectation file: read, and when they read, used to grade a small program that
// prints, asks for AC and stores, with the limit kept small. Nothing may crash; a console text
// written back the way the verdicts write it must read back as the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "app/expectations.h"
#include "app/grader.h"

namespace {

constexpr std::string_view kProgram =
    "_ 0200 JSR FFFE _ _\r\n"
    "_ 0203 STA 0300 _ _\r\n"
    "_ 0206 JSR FFFC _ _\r\n"
    "_ 0209 JSR FFFF _ _\r\n"
    "_ 020C PHA _ _\r\n"
    "_ 020D _ _ _ _\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorvan::app;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto read = ReadExpectations(text);
    if (const auto* error = std::get_if<ExpectationError>(&read)) {
        if (error->line < 1 || error->message.empty()) std::abort();
        return 0;
    }
    Expectations& expectations = std::get<Expectations>(read);
    if (expectations.limit > 10'000) expectations.limit = 10'000;
    for (const Expectation& check : expectations.checks) {
        if (check.kind != Expectation::Kind::kConsole) continue;
        auto again = ReadExpectations("console " + QuotedConsoleText(check.console));
        const auto* back = std::get_if<Expectations>(&again);
        if (back == nullptr || back->checks.front().console != check.console) std::abort();
    }
    const Verdict verdict = GradeProgram(expectations, "p.zrv", kProgram);
    if (verdict.passed != verdict.mismatches.empty() && verdict.problem.empty()) std::abort();
    (void)VerdictLine(verdict);
    (void)VerdictsJson({verdict});
    return 0;
}
