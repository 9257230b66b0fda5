#include "app/grade_reports.h"

#include <algorithm>
#include <cstdio>

#include "text/characters.h"

namespace zorvan::app {

namespace {

// Replaces what would break a one-line field or act on a terminal.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return VisibleText(text);
}

void AppendJsonString(std::string& json, std::string_view bytes) {
    json += '"';
    for (const char32_t c : text::ToCharacters(VisibleText(bytes))) {
        if (c == U'"' || c == U'\\') json += '\\';
        text::AppendCharacter(json, c);
    }
    json += '"';
}

void AppendJsonNullable(std::string& json, std::string_view text, bool present) {
    if (present) {
        AppendJsonString(json, text);
    } else {
        json += "null";
    }
}

void AppendXml(std::string& xml, std::string_view text) {
    for (const char c : VisibleText(text)) {
        switch (c) {
            case '<':
                xml += "&lt;";
                break;
            case '>':
                xml += "&gt;";
                break;
            case '&':
                xml += "&amp;";
                break;
            case '"':
                xml += "&quot;";
                break;
            default:
                xml += c;
        }
    }
}

void AppendCsvField(std::string& csv, std::string_view text) {
    const std::string visible = OneLine(std::string(text));
    if (visible.find_first_of(",;\"") == std::string::npos) {
        csv += visible;
        return;
    }
    csv += '"';
    for (const char c : visible) {
        if (c == '"') csv += '"';
        csv += c;
    }
    csv += '"';
}

std::string CaseTitle(const CaseVerdict& c) {
    return c.name.empty() ? "έλεγχος" : c.name;
}

}  // namespace

std::string VerdictsJson(const std::vector<Verdict>& verdicts) {
    std::string json = "{\n  \"files\": [";
    std::int64_t passed = 0, score = 0;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const Verdict& verdict = verdicts[i];
        passed += verdict.passed ? 1 : 0;
        score += verdict.score;
        json += i == 0 ? "\n    {\"name\": " : ",\n    {\"name\": ";
        AppendJsonString(json, verdict.name);
        json += std::string(", \"passed\": ") + (verdict.passed ? "true" : "false");
        json += ", \"score\": " + std::to_string(verdict.score);
        json += ", \"points\": " + std::to_string(verdict.points);
        json += ", \"problem\": ";
        AppendJsonNullable(json, OneLine(verdict.problem), !verdict.problem.empty());
        json += ", \"cases\": [";
        for (std::size_t c = 0; c < verdict.cases.size(); ++c) {
            const CaseVerdict& run = verdict.cases[c];
            json += c == 0 ? "\n      {\"name\": " : ",\n      {\"name\": ";
            AppendJsonNullable(json, run.name, !run.name.empty());
            json += ", \"points\": " + std::to_string(run.points);
            json += std::string(", \"passed\": ") + (run.passed ? "true" : "false");
            json += ", \"end\": ";
            AppendJsonNullable(json, run.end ? EndKeyword(*run.end) : "", run.end.has_value());
            json += ", \"instructions\": " + std::to_string(run.executed);
            json += std::string(", \"console_longer\": ") + (run.consoleLonger ? "true" : "false");
            json += ", \"failures\": [";
            for (std::size_t k = 0; k < run.mismatches.size(); ++k) {
                const Mismatch& mismatch = run.mismatches[k];
                json += k == 0 ? "\n        {\"what\": " : ",\n        {\"what\": ";
                AppendJsonString(json, mismatch.what);
                json +=
                    ", \"line\": " + (mismatch.line > 0 ? std::to_string(mismatch.line) : "null");
                json += ", \"expected\": ";
                AppendJsonString(json, mismatch.expected);
                json += ", \"found\": ";
                AppendJsonString(json, mismatch.found);
                json += ", \"message\": ";
                AppendJsonString(json, mismatch.message);
                json += "}";
            }
            json += run.mismatches.empty() ? "]}" : "\n      ]}";
        }
        json += verdict.cases.empty() ? "]}" : "\n    ]}";
    }
    char average[64];
    std::snprintf(
        average, sizeof average, "%.2f",
        verdicts.empty() ? 0.0 : static_cast<double>(score) / static_cast<double>(verdicts.size()));
    json += verdicts.empty() ? "],\n" : "\n  ],\n";
    json += "  \"passed\": " + std::to_string(passed) + ",\n  \"failed\": " +
            std::to_string(static_cast<std::int64_t>(verdicts.size()) - passed) +
            ",\n  \"average\": " + average + "\n}\n";
    return json;
}

std::string VerdictsCsv(const Expectations& expectations, const std::vector<Verdict>& verdicts) {
    std::string csv =
        "\xEF\xBB\xBF"
        "μαθητής";
    for (const ExpectationCase& c : expectations.cases) {
        csv += ',';
        AppendCsvField(csv, c.name.empty() ? "έλεγχος" : c.name);
    }
    csv += ",βαθμός,μέγιστο,σχόλιο\r\n";
    for (const Verdict& verdict : verdicts) {
        AppendCsvField(csv, verdict.name);
        for (const CaseVerdict& c : verdict.cases)
            csv += "," + std::to_string(c.passed ? c.points : 0);
        csv += "," + std::to_string(verdict.score) + "," + std::to_string(verdict.points) + ",";
        AppendCsvField(csv, verdict.problem);
        csv += "\r\n";
    }
    return csv;
}

std::string VerdictsJunit(const std::vector<Verdict>& verdicts) {
    std::size_t tests = 0, failures = 0;
    for (const Verdict& verdict : verdicts) {
        tests += verdict.cases.size();
        for (const CaseVerdict& c : verdict.cases) failures += c.passed ? 0 : 1;
    }
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"zorvan-run --check\" "
        "tests=\"" +
        std::to_string(tests) + "\" failures=\"" + std::to_string(failures) + "\">\n";
    for (const Verdict& verdict : verdicts) {
        std::size_t failed = 0;
        for (const CaseVerdict& c : verdict.cases) failed += c.passed ? 0 : 1;
        xml += "  <testsuite name=\"";
        AppendXml(xml, verdict.name);
        xml += "\" tests=\"" + std::to_string(verdict.cases.size()) + "\" failures=\"" +
               std::to_string(failed) + "\">\n";
        for (const CaseVerdict& c : verdict.cases) {
            xml += "    <testcase classname=\"";
            AppendXml(xml, verdict.name);
            xml += "\" name=\"";
            AppendXml(xml, CaseTitle(c));
            xml += "\"";
            if (c.passed) {
                xml += "/>\n";
                continue;
            }
            std::string message = verdict.problem;
            for (const Mismatch& mismatch : c.mismatches)
                message += (message.empty() ? "" : "; ") + mismatch.message;
            xml += ">\n      <failure message=\"";
            AppendXml(xml, OneLine(message));
            xml += "\">";
            for (const std::string& line : c.explanation) {
                AppendXml(xml, line);
                xml += "\n";
            }
            xml += "</failure>\n    </testcase>\n";
        }
        xml += "  </testsuite>\n";
    }
    return xml + "</testsuites>\n";
}

}  // namespace zorvan::app
