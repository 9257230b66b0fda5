#pragma once
// The verdicts of zorvan-run --check as documents for other tools: JSON for a course's own
// scripts, CSV for a spreadsheet, JUnit XML for continuous-integration graders. Every text in
// them shows a control byte or a byte that is not UTF-8 as \xHH.
//
//   std::fputs(VerdictsCsv(expectations, GradeFiles(expectations, paths)).c_str(), stdout);

#include <string>
#include <vector>

#include "app/expectations.h"
#include "app/grader.h"

namespace zorvan::app {

// The verdicts as one JSON document (the README gives its schema), ending with a line break.
std::string VerdictsJson(const std::vector<Verdict>& verdicts);
// A row a student, a column a case (its points won) and the score; UTF-8 with a byte order
// mark, so that a spreadsheet reads the Greek.
std::string VerdictsCsv(const Expectations& expectations, const std::vector<Verdict>& verdicts);
// JUnit XML: a test suite a student, a test case a case.
std::string VerdictsJunit(const std::vector<Verdict>& verdicts);

}  // namespace zorvan::app
