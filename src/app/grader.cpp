#include "app/grader.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <variant>

#include "app/headless_console.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "cpu/step_history.h"
#include "cpu/step_sentence.h"
#include "grid/program_grid.h"
#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/file_encoding.h"
#include "text/hex_text.h"

namespace zorvan::app {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kLongerConsole = " (η κονσόλα είχε κι άλλο κείμενο)";

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
std::optional<int> FirstLineAddress(const grid::ProgramLines& lines) {
    const std::string_view cell = lines.Text(grid::kAddressColumn, 1);
    if (cell.size() > 8) return std::nullopt;
    const std::optional<std::int32_t> address = text::ParseHex(cell);
    if (!address || !cpu::Machine::IsAddress(*address)) return std::nullopt;
    return *address;
}

// A carriage return, alone or before a line feed, is one line break in the window.
std::string WindowLineBreaks(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        text.push_back(utf8[i] == '\r' ? '\n' : utf8[i]);
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    }
    return text;
}

// The console window's text by HeadlessConsole's rules, but kept only as far as the checks can
// need it: its first keep bytes, whether there was more, and whether each "contains" text was
// in it. An endless printing loop thus costs no memory, and once nothing more can change a
// verdict its texts are not even decoded.
class BoundedConsole final : public cpu::MachineHost {
  public:
    BoundedConsole(cpu::Machine& machine, const ExpectationCase& expectation, std::size_t keep)
        : machine_(machine),
          answers_(expectation.inputs.begin(), expectation.inputs.end()),
          keep_(keep) {
        for (const Expectation& check : expectation.checks) {
            if (check.kind != Expectation::Kind::kConsoleContains) continue;
            needles_.push_back(check.console);
            longestNeedle_ = std::max(longestNeedle_, check.console.size());
        }
        found_.assign(needles_.size(), false);
        Replace("");
    }

    const std::string& Text() const { return text_; }
    bool Longer() const { return longer_; }
    bool Contains(std::string_view needle) const {
        for (std::size_t k = 0; k < needles_.size(); ++k)
            if (needles_[k] == needle) return found_[k];
        return false;
    }

    void ShowCharacter(int ac) override { Replace(WindowLineBreaks(ConsoleCharacter(ac))); }
    void AskForAccumulator() override {
        Replace(std::string(kAskForAccumulatorText));
        if (answers_.empty()) return;
        const std::string answer = std::move(answers_.front());
        answers_.pop_front();
        if (const auto line = EnterAccumulator(machine_, answer)) AppendLine(*line);
    }
    void ClearConsole() override { Replace(""); }
    void PrintText(std::string_view cp1253Bytes) override {
        AppendLine(text::DecodeCp1253(cp1253Bytes, U'\uFFFD'));
    }
    // Nothing the checks look at can change once the kept text is full and every "contains"
    // text found.
    bool WantsPrintedText() const override { return !longer_ || unfound_ > 0; }
    void StackFull() override {}

  private:
    void Replace(const std::string& text) {
        text_.clear();
        tail_.clear();
        longer_ = false;
        empty_ = true;
        std::fill(found_.begin(), found_.end(), false);
        unfound_ = needles_.size();
        for (std::size_t k = 0; k < needles_.size(); ++k) {
            if (needles_[k].empty()) {
                found_[k] = true;
                --unfound_;
            }
        }
        Append(text);
    }

    void AppendLine(std::string_view line) {
        if (!empty_) Append("\n");
        Append(WindowLineBreaks(line));
    }

    void Append(std::string_view piece) {
        if (piece.empty()) return;
        empty_ = false;
        const std::size_t room = keep_ - std::min(keep_, text_.size());
        if (piece.size() > room) {
            std::size_t cut = room;  // not inside a character
            while (cut > 0 && (static_cast<unsigned char>(piece[cut]) & 0xC0) == 0x80) --cut;
            text_.append(piece.substr(0, cut));
            longer_ = true;
        } else {
            text_.append(piece);
        }
        if (unfound_ == 0) return;
        const std::string window = tail_ + std::string(piece);
        for (std::size_t k = 0; k < needles_.size(); ++k) {
            if (!found_[k] && window.find(needles_[k]) != std::string::npos) {
                found_[k] = true;
                --unfound_;
            }
        }
        const std::size_t overlap = longestNeedle_ > 0 ? longestNeedle_ - 1 : 0;
        tail_ = window.substr(window.size() - std::min(window.size(), overlap));
    }

    cpu::Machine& machine_;
    std::deque<std::string> answers_;
    std::size_t keep_;
    std::vector<std::string> needles_;
    std::vector<bool> found_;
    std::size_t unfound_ = 0;
    std::size_t longestNeedle_ = 0;
    std::string text_, tail_;
    bool longer_ = false, empty_ = true;
};

// The console's text for a verdict: escaped as the files write it, without the quotes.
std::string ConsoleFileText(std::string_view text) {
    const std::string quoted = QuotedConsoleText(text);
    return quoted.substr(1, quoted.size() - 2);
}

std::string ConsoleShown(const BoundedConsole& console) {
    return QuotedConsoleText(console.Text()) + (console.Longer() ? "…" : "");
}

struct RunFacts {
    cpu::RunEnd end = cpu::RunEnd::kEmptyCell;
    std::int64_t executed = 0;
    int bytes = 0;  // the assembled program's
    std::int64_t limit = 0;
};

void Compare(const ExpectationCase& expectation, const cpu::Machine& machine,
             const BoundedConsole& console, const RunFacts& facts, CaseVerdict& verdict) {
    const cpu::RunEnd end = facts.end;
    if (!expectation.endStated && end != cpu::RunEnd::kEmptyCell) {
        verdict.mismatches.push_back(
            {"end", 0, "empty cell", std::string(EndKeyword(end)),
             end == cpu::RunEnd::kLimit
                 ? "έφτασε το όριο των " + std::to_string(facts.limit) + " εντολών"
                 : "τέλος = " + std::string(EndInGreek(end)) + ", αναμενόταν κενό κελί"});
    }
    for (const Expectation& check : expectation.checks) {
        const auto miss = [&](std::string what, std::string expected, std::string found,
                              std::string message) {
            verdict.mismatches.push_back({std::move(what), check.line, std::move(expected),
                                          std::move(found), std::move(message)});
        };
        switch (check.kind) {
            case Expectation::Kind::kEnd:
                if (end != check.end) {
                    miss("end", std::string(EndKeyword(check.end)), std::string(EndKeyword(end)),
                         "τέλος = " + std::string(EndInGreek(end)) + ", αναμενόταν " +
                             std::string(EndInGreek(check.end)));
                }
                break;
            case Expectation::Kind::kField: {
                const std::int32_t found = cpu::FieldOf(machine, check.field);
                if (found != check.values.front()) {
                    const std::string name(cpu::FieldName(check.field));
                    const std::string foundText = FieldText(check.field, found);
                    const std::string expectedText = FieldText(check.field, check.values.front());
                    miss(name, expectedText, foundText,
                         name + " = " + foundText + ", αναμενόταν " + expectedText);
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
                    miss(name, expectedText, foundText,
                         name + " = " + foundText + ", αναμενόταν " + expectedText);
                }
                break;
            case Expectation::Kind::kConsole:
                if (console.Longer() || console.Text() != check.console) {
                    miss("console", ConsoleFileText(check.console), ConsoleFileText(console.Text()),
                         "κονσόλα = " + ConsoleShown(console) + ", αναμενόταν " +
                             QuotedConsoleText(check.console) +
                             std::string(console.Longer() ? kLongerConsole : ""));
                }
                break;
            case Expectation::Kind::kConsoleContains:
                if (!console.Contains(check.console)) {
                    miss("console contains", ConsoleFileText(check.console),
                         ConsoleFileText(console.Text()),
                         "η κονσόλα δεν περιέχει " + QuotedConsoleText(check.console) +
                             " (κονσόλα = " + ConsoleShown(console) + ")");
                }
                break;
            case Expectation::Kind::kConsoleStarts:
                if (!console.Text().starts_with(check.console)) {
                    miss("console starts", ConsoleFileText(check.console),
                         ConsoleFileText(console.Text()),
                         "η κονσόλα δεν αρχίζει με " + QuotedConsoleText(check.console) +
                             " (κονσόλα = " + ConsoleShown(console) + ")");
                }
                break;
            case Expectation::Kind::kMaxInstructions:
                if (facts.executed > check.count) {
                    miss("max instructions", std::to_string(check.count),
                         std::to_string(facts.executed),
                         "εκτελέστηκαν " + std::to_string(facts.executed) + " εντολές, το πολύ " +
                             std::to_string(check.count));
                }
                break;
            case Expectation::Kind::kMaxBytes:
                if (facts.bytes > check.count) {
                    miss("max bytes", std::to_string(check.count), std::to_string(facts.bytes),
                         "το πρόγραμμα έχει " + std::to_string(facts.bytes) + " bytes, το πολύ " +
                             std::to_string(check.count));
                }
                break;
        }
    }
}

// Replaces what would break a one-line report or act on a terminal.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return VisibleText(text);
}

bool IsProgramFileName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".zrv" || extension == ".txt";
}

bool IsFileWhitespace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A program as the grader runs it: its rows assembled on a fresh machine for each case.
struct Program {
    PackedProgram lines;
    int bytes = 0;
};

// Assembles into machine; the problem that stops the run, or "".
std::string Assemble(Program& program, cpu::Machine& machine) {
    int stoppedRow = 0;
    try {
        const assembler::AssemblyResult result =
            assembler::Assemble(program.lines, machine, &stoppedRow);
        if (result.kind != assembler::AssemblyResult::Kind::kSummary)
            return "γραμμή " + std::to_string(std::max(stoppedRow, result.row)) + ": " +
                   result.text;
        program.bytes = result.bytes;
    } catch (const text::ConversionError& error) {
        // An address cell left empty is what "'' is no hexadecimal number" means here.
        if (program.lines.Text(grid::kAddressColumn, stoppedRow).empty())
            return "γραμμή " + std::to_string(stoppedRow) + ": το κελί διεύθυνσης είναι κενό";
        return "γραμμή " + std::to_string(stoppedRow) + ": " + error.what();
    }
    return "";
}

void Prepare(const ExpectationCase& expectation, cpu::Machine& machine) {
    for (const MachineSetting& setting : expectation.settings) {
        if (!setting.isMemory) {
            cpu::FieldOf(machine, setting.field) = setting.values.front();
            continue;
        }
        for (std::size_t k = 0; k < setting.values.size(); ++k)
            machine.Write(setting.address + static_cast<std::int64_t>(k), setting.values[k]);
    }
}

// Runs at most budget instructions in slices, giving up at the deadline; the end, or nothing
// when the time ran out.
std::optional<cpu::RunEnd> RunUntil(cpu::Run& run, cpu::Machine& machine, std::int64_t budget,
                                    Clock::time_point deadline) {
    constexpr std::int64_t kSlice = 1'000'000;
    while (run.ExecutedCount() < budget) {
        const cpu::RunEnd end = run.Slice(std::min(kSlice, budget - run.ExecutedCount()));
        if (end != cpu::RunEnd::kRunning) return end;
        if (Clock::now() > deadline) return std::nullopt;
    }
    const cpu::RunEnd end = run.Slice(0);  // ends exactly at the limit, or reaches it
    if (end != cpu::RunEnd::kRunning) return end;
    machine.PC = run.Address();
    return cpu::RunEnd::kLimit;
}

// The registers and cells the failed checks named, then the last instructions, run again.
std::vector<std::string> Explain(const ExpectationCase& expectation, const CaseVerdict& verdict,
                                 Program& program, int start, std::size_t keep) {
    std::vector<std::string> lines;
    auto machine = std::make_unique<cpu::Machine>();
    if (!Assemble(program, *machine).empty()) return lines;
    Prepare(expectation, *machine);
    BoundedConsole console(*machine, expectation, keep);
    const std::int64_t before =
        std::max<std::int64_t>(0, verdict.executed - kExplainedInstructions);
    cpu::Run run(*machine, console, start);
    if (run.Slice(before) != cpu::RunEnd::kRunning) return lines;
    machine->PC = run.Address();
    std::vector<std::string> steps;
    cpu::StepHistory history;
    for (std::int64_t k = before; k < verdict.executed; ++k) {
        const int address = machine->PC;
        history.Step(*machine, console, nullptr);
        if (const auto change = history.Last(*machine))
            steps.push_back(text::FormatHex4(address) + "  " +
                            cpu::DescribeStep(*change, *machine));
    }
    std::string named;
    for (const Mismatch& mismatch : verdict.mismatches) {
        if (mismatch.what.find(' ') != std::string::npos || mismatch.what == "end" ||
            mismatch.what == "console" || mismatch.what == "time")
            continue;
        if (named.find(mismatch.what + "=") != std::string::npos) continue;
        named += (named.empty() ? "" : " ") + mismatch.what + "=" + mismatch.found;
    }
    if (!named.empty()) lines.push_back("στο τέλος: " + named);
    if (!steps.empty()) {
        lines.push_back("οι τελευταίες " + std::to_string(steps.size()) + " εντολές:");
        for (std::string& step : steps) lines.push_back("  " + std::move(step));
    }
    return lines;
}

std::string TimeoutMessage(double seconds) {
    const auto whole = static_cast<long>(seconds);
    return whole == 1 ? std::string("ξεπέρασε το χρονικό όριο του 1 δευτερολέπτου")
                      : "ξεπέρασε το χρονικό όριο των " + std::to_string(whole) + " δευτερολέπτων";
}

CaseVerdict CaseOf(const ExpectationCase& expectation) {
    CaseVerdict verdict;
    verdict.name = expectation.name;
    verdict.points = expectation.points;
    return verdict;
}

void Score(Verdict& verdict) {
    verdict.score = verdict.points = 0;
    verdict.passed = verdict.problem.empty() && !verdict.cases.empty();
    for (const CaseVerdict& c : verdict.cases) {
        verdict.points += c.points;
        if (c.passed) verdict.score += c.points;
        verdict.passed = verdict.passed && c.passed;
    }
}

// A verdict that ran no case: every case fails with the problem.
Verdict Unrun(const Expectations& expectations, std::string_view name, std::string problem) {
    Verdict verdict;
    verdict.name = name;
    verdict.problem = std::move(problem);
    for (const ExpectationCase& expectation : expectations.cases)
        verdict.cases.push_back(CaseOf(expectation));
    Score(verdict);
    return verdict;
}

// Why an entry that is not a regular file cannot be graded, or "" when it may be read.
std::string EntryProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status link = fs::symlink_status(path, error);
    if (error) return "";  // reading it gives the reason
    if (fs::is_symlink(link)) {
        const fs::file_status target = fs::status(path, error);
        if (!fs::exists(target)) {
            std::error_code ignored;
            return "ο σύνδεσμος δείχνει στο «" + fs::read_symlink(path, ignored).string() +
                   "», που δεν υπάρχει";
        }
    }
    const fs::file_status status = fs::status(path, error);
    if (fs::is_fifo(status)) return "είναι σωλήνας (pipe), όχι αρχείο προγράμματος";
    if (fs::is_socket(status)) return "είναι υποδοχή (socket), όχι αρχείο προγράμματος";
    if (fs::is_character_file(status) || fs::is_block_file(status))
        return "είναι συσκευή, όχι αρχείο προγράμματος";
    return "";
}

// The program read from its file's bytes, or why it cannot be graded.
std::string ReadProgram(Program& program, std::string bytes) {
    if (LooksLikeUtf16(bytes))
        return "το αρχείο είναι σε κωδικοποίηση UTF-16· αποθηκεύστε το από το Zorvan";
    const bool blank = std::all_of(bytes.begin(), bytes.end(), IsFileWhitespace);
    program.lines = PackedProgram(std::move(bytes));
    if (program.lines.CompleteRows() > 0) return "";
    return blank ? "το αρχείο του μαθητή είναι κενό"
                 : "το αρχείο του μαθητή δεν έχει καμία πλήρη γραμμή προγράμματος";
}

Verdict GradeRead(const Expectations& expectations, std::string_view name, Program& program,
                  const GradeOptions& options) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(options.timeoutSeconds));
    Verdict verdict;
    verdict.name = name;
    const std::size_t keep = expectations.ConsoleBytesNeeded();
    for (const ExpectationCase& expectation : expectations.cases) {
        CaseVerdict& result = verdict.cases.emplace_back(CaseOf(expectation));
        auto machine = std::make_unique<cpu::Machine>();
        if (std::string problem = Assemble(program, *machine); !problem.empty()) {
            return Unrun(expectations, name, std::move(problem));
        }
        Prepare(expectation, *machine);
        const std::optional<int> start =
            expectation.from ? expectation.from : FirstLineAddress(program.lines);
        if (!start) {
            const bool empty = program.lines.Text(grid::kAddressColumn, 1).empty();
            return Unrun(expectations, name,
                         std::string(empty ? "το κελί διεύθυνσης της γραμμής 1 είναι κενό"
                                           : "δεν υπάρχει διεύθυνση έναρξης στη γραμμή 1") +
                             "· δώστε from στο αρχείο ελέγχου");
        }
        BoundedConsole console(*machine, expectation, keep);
        cpu::Run run(*machine, console, *start);
        const std::optional<cpu::RunEnd> end = RunUntil(run, *machine, expectation.limit, deadline);
        result.executed = run.ExecutedCount();
        if (!end) {
            result.mismatches.push_back(
                {"time", 0, "", "", TimeoutMessage(options.timeoutSeconds)});
            continue;
        }
        result.end = *end;
        result.consoleLonger = console.Longer();
        Compare(expectation, *machine, console,
                RunFacts{*end, result.executed, program.bytes, expectation.limit}, result);
        result.passed = result.mismatches.empty();
        if (!result.passed && options.explain)
            result.explanation = Explain(expectation, result, program, *start, keep);
    }
    Score(verdict);
    return verdict;
}

}  // namespace

Verdict GradeProgram(const Expectations& expectations, std::string_view name,
                     std::string_view programBytes, const GradeOptions& options) {
    Program program;
    if (std::string problem = ReadProgram(program, std::string(programBytes)); !problem.empty())
        return Unrun(expectations, name, std::move(problem));
    return GradeRead(expectations, name, program, options);
}

Verdict GradeFile(const Expectations& expectations, const std::string& path, FileStore& store,
                  const GradeOptions& options) {
    if (std::string problem = EntryProblem(path); !problem.empty())
        return Unrun(expectations, path, std::move(problem));
    Program program;
    {
        auto read = store.ReadAll(path);
        if (const auto* failure = std::get_if<FileFailure>(&read))
            return Unrun(expectations, path, failure->message);
        // Its bytes become the program's text, held once.
        if (std::string problem = ReadProgram(program, std::move(std::get<std::string>(read)));
            !problem.empty())
            return Unrun(expectations, path, std::move(problem));
    }
    return GradeRead(expectations, path, program, options);
}

std::vector<Verdict> GradeFiles(const Expectations& expectations,
                                const std::vector<std::string>& paths,
                                const GradeOptions& options) {
    std::vector<Verdict> verdicts(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        FileStore store;
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            try {
                verdicts[i] = GradeFile(expectations, paths[i], store, options);
            } catch (const std::bad_alloc&) {
                // This file fails, the others go on.
                verdicts[i] = Unrun(expectations, paths[i],
                                    "δεν υπάρχει αρκετή μνήμη για τον έλεγχο αυτού του αρχείου");
            } catch (const std::exception& error) {
                verdicts[i] = Unrun(expectations, paths[i], error.what());
            }
        }
    };
    unsigned threads = options.threads;
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
        // never the batch. Only folders are left out: anything else so named gets its line.
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            std::error_code ignored;
            if (IsProgramFileName(entries->path()) && !entries->is_directory(ignored))
                names.push_back(entries->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) paths.push_back((fs::path(argument) / name).string());
    }
    return paths;
}

std::vector<std::string> RosterNames(std::string_view utf8) {
    std::vector<std::string> names;
    if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
    while (!utf8.empty()) {
        const std::size_t newline = utf8.find('\n');
        std::string_view line = utf8.substr(0, newline);
        utf8.remove_prefix(newline == std::string_view::npos ? utf8.size() : newline + 1);
        line = line.substr(0, line.find('#'));
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
        if (line.empty()) continue;
        std::filesystem::path name{std::string(line)};
        if (IsProgramFileName(name)) name.replace_extension();
        names.push_back(name.string());
    }
    return names;
}

std::vector<Verdict> NotSubmitted(const Expectations& expectations,
                                  const std::vector<std::string>& roster,
                                  const std::vector<std::string>& paths) {
    const auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::vector<std::string> submitted;
    for (const std::string& path : paths)
        submitted.push_back(lower(std::filesystem::path(path).stem().string()));
    std::vector<Verdict> missing;
    for (const std::string& name : roster) {
        if (std::find(submitted.begin(), submitted.end(), lower(name)) != submitted.end()) continue;
        submitted.push_back(lower(name));  // a name twice on the roster gets one line
        missing.push_back(Unrun(expectations, name, "δεν παραδόθηκε"));
    }
    return missing;
}

std::string VerdictLine(const Verdict& verdict) {
    const std::string score = std::to_string(verdict.score) + "/" + std::to_string(verdict.points);
    if (verdict.passed) return OneLine("ΕΠΙΤΥΧΙΑ " + verdict.name + " " + score);
    std::string line = "ΑΠΟΤΥΧΙΑ " + verdict.name + " " + score + ": ";
    if (!verdict.problem.empty()) return OneLine(line + verdict.problem);
    bool first = true;
    for (const CaseVerdict& c : verdict.cases) {
        if (c.passed) continue;
        if (!first) line += "; ";
        first = false;
        if (!c.name.empty()) line += "«" + c.name + "»: ";
        for (std::size_t k = 0; k < c.mismatches.size(); ++k) {
            if (k > 0) line += "; ";
            line += c.mismatches[k].message;
        }
    }
    return OneLine(line);
}

std::string ExplanationText(const Verdict& verdict) {
    std::string text;
    for (const CaseVerdict& c : verdict.cases) {
        if (c.explanation.empty()) continue;
        if (!c.name.empty()) text += "  «" + OneLine(c.name) + "»:\n";
        for (const std::string& line : c.explanation) text += "    " + OneLine(line) + "\n";
    }
    return text;
}

std::string SummaryLine(const std::vector<Verdict>& verdicts) {
    std::int64_t passed = 0, score = 0, points = 0;
    for (const Verdict& verdict : verdicts) {
        passed += verdict.passed ? 1 : 0;
        score += verdict.score;
        points = std::max<std::int64_t>(points, verdict.points);
    }
    char average[64];
    std::snprintf(
        average, sizeof average, "%.2f",
        verdicts.empty() ? 0.0 : static_cast<double>(score) / static_cast<double>(verdicts.size()));
    return std::to_string(passed) + " passed, " +
           std::to_string(static_cast<std::int64_t>(verdicts.size()) - passed) +
           " failed, average " + average + "/" + std::to_string(points);
}

}  // namespace zorvan::app
