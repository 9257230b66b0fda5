#include "app/grader.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>
#include <variant>

#include "app/headless_console.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "grid/program_grid.h"
#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::app {

namespace {

// A field's value as the register window writes it: addresses with four digits, bits as 0 or 1.
std::string FieldText(const MachineField& field, std::int32_t value) {
    if (field.isStatusBit) return std::to_string(value);
    if (field.reg == cpu::Register::kPC || field.reg == cpu::Register::kRA)
        return text::FormatHex4(value);
    return text::FormatHex2(value);
}

// A cell as the memory window reads it: its 16 bits.
std::int32_t CellBits(const cpu::Machine& machine, std::int64_t address) {
    return static_cast<std::uint16_t>(machine.Read(address));
}

// The start address in the first line's address cell, when it holds one.
std::optional<int> FirstLineAddress(const grid::ProgramGrid& grid) {
    const std::string& cell = grid.Cell(grid::kAddressColumn, 1);
    if (cell.size() > 8) return std::nullopt;
    const std::optional<std::int32_t> address = text::ParseHex(cell);
    if (!address || !cpu::Machine::IsAddress(*address)) return std::nullopt;
    return *address;
}

void Compare(const Expectations& expectations, const cpu::Machine& machine,
             const HeadlessConsole& console, cpu::RunEnd end, Verdict& verdict) {
    if (!expectations.endStated && end == cpu::RunEnd::kLimit) {
        verdict.mismatches.push_back(
            {"end", 0, "not limit", std::string(EndKeyword(end)),
             "έφτασε το όριο των " + std::to_string(expectations.limit) + " εντολών"});
    }
    for (const Expectation& check : expectations.checks) {
        switch (check.kind) {
            case Expectation::Kind::kEnd:
                if (end != check.end) {
                    verdict.mismatches.push_back(
                        {"end", check.line, std::string(EndKeyword(check.end)),
                         std::string(EndKeyword(end)),
                         "τέλος = " + std::string(EndInGreek(end)) + ", αναμενόταν " +
                             std::string(EndInGreek(check.end))});
                }
                break;
            case Expectation::Kind::kField: {
                const std::int32_t found = cpu::FieldOf(machine, check.field);
                if (found != check.values.front()) {
                    const std::string name(cpu::FieldName(check.field));
                    const std::string foundText = FieldText(check.field, found);
                    const std::string expectedText = FieldText(check.field, check.values.front());
                    verdict.mismatches.push_back(
                        {name, check.line, expectedText, foundText,
                         name + " = " + foundText + ", αναμενόταν " + expectedText});
                }
                break;
            }
            case Expectation::Kind::kMemory:
                for (std::size_t k = 0; k < check.values.size(); ++k) {
                    const std::int64_t address = check.address + static_cast<std::int64_t>(k);
                    const std::int32_t found = CellBits(machine, address);
                    if (found == check.values[k]) continue;
                    const std::string name = text::FormatHex4(address);
                    const std::string foundText = text::FormatHex2(found);
                    const std::string expectedText = text::FormatHex2(check.values[k]);
                    verdict.mismatches.push_back(
                        {name, check.line, expectedText, foundText,
                         name + " = " + foundText + ", αναμενόταν " + expectedText});
                }
                break;
            case Expectation::Kind::kConsole:
                if (console.Text() != check.console) {
                    verdict.mismatches.push_back(
                        {"console", check.line, check.console, console.Text(),
                         "κονσόλα = " + QuotedConsoleText(console.Text()) + ", αναμενόταν " +
                             QuotedConsoleText(check.console)});
                }
                break;
        }
    }
}

// Replaces what would break a one-line report or act on a terminal.
std::string OneLine(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            c = ' ';
        } else if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return text;
}

bool IsProgramFileName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".zrv";
}

void AppendJsonString(std::string& json, std::string_view utf8) {
    json += '"';
    for (const char32_t c : text::ToCharacters(utf8)) {
        switch (c) {
            case U'"':
                json += "\\\"";
                break;
            case U'\\':
                json += "\\\\";
                break;
            case U'\n':
                json += "\\n";
                break;
            case U'\t':
                json += "\\t";
                break;
            case U'\r':
                json += "\\r";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    json += "\\u00" + text::FormatHex2(static_cast<std::int64_t>(c));
                } else {
                    text::AppendCharacter(json, c);
                }
        }
    }
    json += '"';
}

}  // namespace

Verdict GradeProgram(const Expectations& expectations, std::string_view name,
                     std::string_view programBytes) {
    Verdict verdict;
    verdict.name = name;
    grid::ProgramGrid grid;
    PlaceProgramRows(grid, ReadProgramText(programBytes));
    auto machine = std::make_unique<cpu::Machine>();

    int stoppedRow = 0;
    try {
        const assembler::AssemblyResult result = assembler::Assemble(grid, *machine, &stoppedRow);
        if (result.kind != assembler::AssemblyResult::Kind::kSummary) {
            verdict.problem = "γραμμή " + std::to_string(stoppedRow) + ": " + result.text;
            return verdict;
        }
    } catch (const text::ConversionError& error) {
        verdict.problem = "γραμμή " + std::to_string(stoppedRow) + ": " + error.what();
        return verdict;
    }

    for (const MachineSetting& setting : expectations.settings) {
        if (!setting.isMemory) {
            cpu::FieldOf(*machine, setting.field) = setting.values.front();
            continue;
        }
        for (std::size_t k = 0; k < setting.values.size(); ++k)
            machine->Write(setting.address + static_cast<std::int64_t>(k), setting.values[k]);
    }

    const std::optional<int> start = expectations.from ? expectations.from : FirstLineAddress(grid);
    if (!start) {
        verdict.problem =
            "δεν υπάρχει διεύθυνση έναρξης στη γραμμή 1· δώστε from στο αρχείο ελέγχου";
        return verdict;
    }

    HeadlessConsole console(
        *machine, std::deque<std::string>(expectations.inputs.begin(), expectations.inputs.end()));
    const cpu::RunEnd end =
        cpu::RunFrom(*machine, console, *start, expectations.limit, &verdict.executed);
    verdict.end = end;
    Compare(expectations, *machine, console, end, verdict);
    verdict.passed = verdict.mismatches.empty();
    return verdict;
}

Verdict GradeFile(const Expectations& expectations, const std::string& path, FileStore& store) {
    auto read = store.ReadAll(path);
    if (const auto* failure = std::get_if<FileFailure>(&read)) {
        Verdict verdict;
        verdict.name = path;
        verdict.problem = failure->message;
        return verdict;
    }
    return GradeProgram(expectations, path, std::get<std::string>(read));
}

std::vector<Verdict> GradeFiles(const Expectations& expectations,
                                const std::vector<std::string>& paths, unsigned threads) {
    std::vector<Verdict> verdicts(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        FileStore store;
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            try {
                verdicts[i] = GradeFile(expectations, paths[i], store);
            } catch (const std::exception& error) {
                // Out of memory, say: this file fails, the others go on.
                verdicts[i] = Verdict{};
                verdicts[i].name = paths[i];
                verdicts[i].problem = error.what();
            }
        }
    };
    if (threads == 0) threads = std::max(1U, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, paths.size()));
    std::vector<std::thread> workers;
    for (unsigned k = 1; k < threads; ++k) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones started and this one share the files
        }
    }
    work();
    for (std::thread& worker : workers) worker.join();
    return verdicts;
}

std::vector<std::string> ProgramPaths(const std::vector<std::string>& arguments) {
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!fs::is_directory(argument, error)) {
            paths.push_back(argument);
            continue;
        }
        std::vector<std::string> names;
        fs::directory_iterator entries(argument, error);
        if (error) {
            // Reading it as a file gives the reason.
            paths.push_back(argument);
            continue;
        }
        // An entry that vanishes or cannot be read while the folder is listed ends the listing,
        // never the batch.
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            std::error_code ignored;
            if (IsProgramFileName(entries->path()) && entries->is_regular_file(ignored))
                names.push_back(entries->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) paths.push_back((fs::path(argument) / name).string());
    }
    return paths;
}

std::string VerdictLine(const Verdict& verdict) {
    if (verdict.passed) return OneLine("ΕΠΙΤΥΧΙΑ " + verdict.name);
    std::string line = "ΑΠΟΤΥΧΙΑ " + verdict.name + ": ";
    if (!verdict.problem.empty()) return OneLine(line + verdict.problem);
    for (std::size_t k = 0; k < verdict.mismatches.size(); ++k) {
        if (k > 0) line += "; ";
        line += verdict.mismatches[k].message;
    }
    return OneLine(line);
}

std::string SummaryLine(const std::vector<Verdict>& verdicts) {
    const auto passed = std::count_if(verdicts.begin(), verdicts.end(),
                                      [](const Verdict& verdict) { return verdict.passed; });
    return std::to_string(passed) + " passed, " +
           std::to_string(static_cast<std::int64_t>(verdicts.size()) - passed) + " failed";
}

std::string VerdictsJson(const std::vector<Verdict>& verdicts) {
    std::string json = "{\n  \"files\": [";
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const Verdict& verdict = verdicts[i];
        json += i == 0 ? "\n    {\"name\": " : ",\n    {\"name\": ";
        AppendJsonString(json, verdict.name);
        json += std::string(", \"passed\": ") + (verdict.passed ? "true" : "false");
        json += ", \"end\": ";
        if (verdict.end) {
            AppendJsonString(json, EndKeyword(*verdict.end));
        } else {
            json += "null";
        }
        json += ", \"instructions\": " + std::to_string(verdict.executed);
        json += ", \"problem\": ";
        if (verdict.problem.empty()) {
            json += "null";
        } else {
            AppendJsonString(json, verdict.problem);
        }
        json += ", \"failures\": [";
        for (std::size_t k = 0; k < verdict.mismatches.size(); ++k) {
            const Mismatch& mismatch = verdict.mismatches[k];
            json += k == 0 ? "\n      {\"what\": " : ",\n      {\"what\": ";
            AppendJsonString(json, mismatch.what);
            json += ", \"line\": " + (mismatch.line > 0 ? std::to_string(mismatch.line) : "null");
            json += ", \"expected\": ";
            AppendJsonString(json, mismatch.expected);
            json += ", \"found\": ";
            AppendJsonString(json, mismatch.found);
            json += ", \"message\": ";
            AppendJsonString(json, mismatch.message);
            json += "}";
        }
        json += verdict.mismatches.empty() ? "]}" : "\n    ]}";
    }
    const auto passed = std::count_if(verdicts.begin(), verdicts.end(),
                                      [](const Verdict& verdict) { return verdict.passed; });
    json += verdicts.empty() ? "],\n" : "\n  ],\n";
    json += "  \"passed\": " + std::to_string(passed) + ",\n  \"failed\": " +
            std::to_string(static_cast<std::int64_t>(verdicts.size()) - passed) + "\n}\n";
    return json;
}

}  // namespace zorvan::app
