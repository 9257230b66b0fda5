// zorvan-run: runs a saved program without the desktop application, for checking students'
// programs in batch and for benchmarks. Reads and assembles FILE as Open and Assemble do, runs it
// as Run (or Step) does, prints the console output, the end, the registers and memory dumps.
// It also grades programs against an expectation file and prints assembled listings.
//
//   zorvan-run sum.zrv --set AC=05 --dump 0300:1
//   zorvan-run --check ask1.expect ask1/           # one verdict line per program, then a summary
//   zorvan-run --listing sum.zrv

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/expectations.h"
#include "app/grade_reports.h"
#include "app/grader.h"
#include "app/headless_console.h"
#include "app/program_file.h"
#include "app/program_listing.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/registers.h"
#include "cpu/run_loop.h"
#include "grid/program_grid.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"
#include "text/os_error.h"

namespace {

using namespace zorvan;

constexpr std::string_view kUsage =
    "χρήση: zorvan-run [FILE] [--from HEX] [--set NAME=HEX]... [--poke HEX:XX,XX,...]...\n"
    "                  [--limit N | --steps N] [--input HEX]... [--dump HEX:LEN]...\n"
    "                  [--assemble-only]\n"
    "  NAME: AC, XR, YR, SP, P (το byte κατάστασης), RA (η διεύθυνση επιστροφής)\n"
    "  HEX, XX, LEN: δεκαεξαδικά ψηφία· N: δεκαδικός αριθμός\n"
    "       zorvan-run --check EXPECT [--json | --csv | --junit] [--explain] [--jobs N]\n"
    "                  [--timeout SECONDS] [--roster FILE] [--] FILE...\n"
    "  ελέγχει κάθε πρόγραμμα (ένας φάκελος: όλα τα .zrv και .txt του) με το αρχείο ελέγχου\n"
    "  EXPECT («-»: η τυπική είσοδος)\n"
    "       zorvan-run --listing FILE\n"
    "  τυπώνει το συμβολομεταφρασμένο πρόγραμμα\n";

constexpr std::int64_t kDefaultLimit = 100'000'000;

// The same in every mode: 2 is always a bad command line (or, with --check, expectation file).
enum ExitStatus : int {
    kFinished = 0,
    kNotRun = 1,  // the file cannot be read or does not assemble, or no start address
    kBadCommandLine = 2,
    kStackFull = 3,
    kStoppedShort = 4,  // not executed, or the instruction limit reached
};

// A usage error: the message goes to standard error with the usage, status 2.
struct UsageError {
    std::string message;
};

void ReportUsageError(const std::string& message) {
    const std::string text =
        "zorvan-run: " + app::VisibleText(message) + "\n" + std::string(kUsage);
    std::fwrite(text.data(), 1, text.size(), stderr);
}

struct Poke {
    int address = 0;
    std::vector<std::int32_t> values;
};

struct Dump {
    int address = 0;
    int length = 0;
};

// A register --set names: one the machine names (PC excepted: that is --from), or "P", the
// status bits packed into a byte.
struct RegisterValue {
    std::optional<cpu::MachineField> field;  // none: P
    std::int32_t value = 0;

    void SetOn(cpu::Machine& machine) const {
        if (field) {
            cpu::FieldOf(machine, *field) = value;
        } else {
            machine.UnpackStatus(value);
        }
    }
};

struct Options {
    std::optional<std::string> file;
    std::optional<int> from;
    std::vector<RegisterValue> registers;
    std::vector<Poke> pokes;
    std::optional<std::int64_t> limit;
    std::optional<std::int64_t> steps;
    std::deque<std::int32_t> inputs;
    std::vector<Dump> dumps;
    bool assembleOnly = false;
    bool help = false;
};

std::int32_t HexNumber(std::string_view text, std::string_view option) {
    if (text.empty() || !text::IsHexText(text)) {
        throw UsageError{std::string(option) + ": «" + std::string(text) +
                         "» δεν είναι δεκαεξαδικός αριθμός"};
    }
    try {
        return text::HexTextToInt(text);
    } catch (const text::ConversionError& error) {
        throw UsageError{std::string(option) + ": " + error.what()};
    }
}

int HexAddress(std::string_view text, std::string_view option) {
    const std::int32_t address = HexNumber(text, option);
    if (!cpu::Machine::IsAddress(address)) {
        throw UsageError{std::string(option) + ": η διεύθυνση «" + std::string(text) +
                         "» είναι έξω από 0000-FFFF"};
    }
    return address;
}

// The whole text as a decimal number of type Number, or nothing.
template <typename Number>
std::optional<Number> DecimalNumber(std::string_view text) {
    Number value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::int64_t Count(std::string_view text, std::string_view option) {
    const std::optional<std::int64_t> count = DecimalNumber<std::int64_t>(text);
    if (!count || *count < 0) {
        throw UsageError{std::string(option) + ": «" + std::string(text) +
                         "» δεν είναι μη αρνητικός δεκαδικός αριθμός"};
    }
    return *count;
}

// Splits "A:B" at the first separator; both parts must be present.
std::pair<std::string_view, std::string_view> SplitAt(std::string_view text, char separator,
                                                      std::string_view option) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        throw UsageError{std::string(option) + ": λείπει το «" + std::string(1, separator) +
                         "» στο «" + std::string(text) + "»"};
    }
    return {text.substr(0, at), text.substr(at + 1)};
}

// "NAME=HEX".
RegisterValue ParseRegisterValue(std::string_view text, std::string_view option) {
    const auto [name, number] = SplitAt(text, '=', option);
    if (name == "P") return {std::nullopt, HexNumber(number, option)};
    const std::optional<cpu::MachineField> field = cpu::FieldNamed(name);
    if (!field || field->isStatusBit || field->reg == cpu::Register::kPC) {
        throw UsageError{"--set: άγνωστος καταχωρητής «" + std::string(name) + "»"};
    }
    return {field, HexNumber(number, option)};
}

// "HEX:XX,XX,...".
Poke ParsePoke(std::string_view text, std::string_view option) {
    const auto [address, list] = SplitAt(text, ':', option);
    Poke poke{HexAddress(address, option), {}};
    std::string_view rest = list;
    while (true) {
        const std::size_t comma = rest.find(',');
        poke.values.push_back(HexNumber(rest.substr(0, comma), option));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return poke;
}

// "HEX:LEN".
Dump ParseDump(std::string_view text, std::string_view option) {
    const auto [address, length] = SplitAt(text, ':', option);
    return Dump{HexAddress(address, option), HexNumber(length, option)};
}

// The command line an argument at a time. An option's value follows it, either after "=" in the
// same argument or as the next argument.
class ArgumentReader {
  public:
    ArgumentReader(int argc, char** argv) : argc_(argc), argv_(argv) {}

    bool AtEnd() const { return next_ >= argc_; }

    // The next argument; of "--name=value", the name, with the value kept for Value().
    std::string_view Next() {
        current_ = argv_[next_++];
        inlineValue_.reset();
        if (current_.starts_with("--")) {
            if (const std::size_t equals = current_.find('='); equals != std::string_view::npos) {
                inlineValue_ = current_.substr(equals + 1);
                current_ = current_.substr(0, equals);
            }
        }
        return current_;
    }

    // The next argument as it stands, after "--".
    std::string_view NextFile() {
        inlineValue_.reset();
        return current_ = argv_[next_++];
    }

    std::string_view Value() {
        if (inlineValue_) return *inlineValue_;
        if (AtEnd()) throw UsageError{std::string(current_) + ": λείπει η τιμή"};
        return argv_[next_++];
    }

  private:
    int argc_;
    char** argv_;
    int next_ = 1;
    std::string_view current_;
    std::optional<std::string_view> inlineValue_;
};

// The number of single-character edits between two short texts.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// " (μήπως --check;)" for a mistyped mode, or "".
std::string LikelyOption(std::string_view arg) {
    std::string lower(arg.substr(0, arg.find('=')));
    if (lower.size() > 20) return "";
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string_view mode : {"--check", "--listing"}) {
        if (EditDistance(lower, mode) <= 2) return " (μήπως " + std::string(mode) + ";)";
    }
    return "";
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    ArgumentReader reader(argc, argv);
    bool optionsEnded = false;
    while (!reader.AtEnd()) {
        const std::string_view arg = optionsEnded ? reader.NextFile() : reader.Next();
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;
        } else if (optionsEnded) {
            if (options.file) {
                throw UsageError{"δόθηκαν δύο αρχεία: «" + *options.file + "» και «" +
                                 std::string(arg) + "»"};
            }
            options.file = std::string(arg);
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--from") {
            options.from = HexAddress(reader.Value(), arg);
        } else if (arg == "--set") {
            options.registers.push_back(ParseRegisterValue(reader.Value(), arg));
        } else if (arg == "--poke") {
            options.pokes.push_back(ParsePoke(reader.Value(), arg));
        } else if (arg == "--limit") {
            options.limit = Count(reader.Value(), arg);
        } else if (arg == "--steps") {
            options.steps = Count(reader.Value(), arg);
        } else if (arg == "--input") {
            options.inputs.push_back(HexNumber(reader.Value(), arg));
        } else if (arg == "--dump") {
            options.dumps.push_back(ParseDump(reader.Value(), arg));
        } else if (arg == "--assemble-only") {
            options.assembleOnly = true;
        } else if (arg.starts_with("-") && arg != "-") {
            throw UsageError{"άγνωστη επιλογή " + app::QuotedWord(arg) + LikelyOption(arg)};
        } else if (options.file) {
            throw UsageError{"δόθηκαν δύο αρχεία: «" + *options.file + "» και «" +
                             std::string(arg) + "»"};
        } else {
            options.file = std::string(arg);
        }
    }
    if (options.limit && options.steps) {
        throw UsageError{"--limit και --steps δεν δίνονται μαζί"};
    }
    return options;
}

void Write(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// Standard output flushed; false, with the system's reason on standard error, when it fails.
bool FlushOutput() {
    if (std::fflush(stdout) == 0) return true;
    std::fprintf(stderr, "zorvan-run: %s\n", text::GreekSystemError(errno).c_str());
    return false;
}

// The file's bytes; nothing, with the reason on standard error, when it cannot be read.
std::optional<std::string> ReadFileOrReport(const std::string& path) {
    auto read = app::FileStore().ReadAll(path);
    if (const auto* failure = std::get_if<app::FileFailure>(&read)) {
        const std::string text = "zorvan-run: " + app::VisibleText(failure->message) + "\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
        return std::nullopt;
    }
    return std::move(std::get<std::string>(read));
}

// The console routines as lines on standard output, their control characters as the console
// window shows them; FFFE takes the next --input value.
class ConsoleOutput final : public cpu::MachineHost {
  public:
    ConsoleOutput(cpu::Machine& machine, std::deque<std::int32_t> inputs)
        : machine_(machine), inputs_(std::move(inputs)) {}

    void ShowCharacter(int ac) override {
        Show(text::DecodeCp1253(std::string(1, static_cast<char>(ac & 0xFF))));
    }
    void AskForAccumulator() override {
        Show("Δώσε τον AC\n");
        if (!inputs_.empty()) {
            machine_.AC = inputs_.front();
            inputs_.pop_front();
        }
    }
    void ClearConsole() override {}
    void PrintText(std::string_view cp1253Bytes) override {
        Show(text::DecodeCp1253(cp1253Bytes) + "\n");
    }
    void StackFull() override {
        EndLine();
        Show(std::string(cpu::kStackFullMessage) + "\n");
    }

    // What follows the console's output starts on a line of its own.
    void EndLine() {
        if (!atLineStart_) Show("\n");
    }

  private:
    void Show(const std::string& utf8) {
        const std::string shown = app::ConsoleShownText(utf8);
        if (shown.empty()) return;
        Write(shown);
        atLineStart_ = shown.back() == '\n';
    }

    cpu::Machine& machine_;
    std::deque<std::int32_t> inputs_;
    bool atLineStart_ = true;
};

void PrintState(const cpu::Machine& machine, std::string_view end) {
    std::string status;
    for (int bit : machine.status) status += bit != 0 ? '1' : '0';
    Write("end: " + std::string(end) + "\n");
    Write("PC=" + text::FormatHex4(machine.PC) + " AC=" + text::FormatHex2(machine.AC) +
          " XR=" + text::FormatHex2(machine.XR) + " YR=" + text::FormatHex2(machine.YR) +
          " SP=" + text::FormatHex2(machine.SP) + "\n");
    Write("NV-BDIZC=" + status + "\n");
}

void PrintDump(const cpu::Machine& machine, const Dump& dump) {
    for (std::int64_t offset = 0; offset < dump.length; offset += 16) {
        std::string line = text::FormatHex4(dump.address + offset) + ":";
        for (std::int64_t k = offset; k < dump.length && k < offset + 16; ++k) {
            line += " " + text::FormatHex2(machine.Read(std::int64_t{dump.address} + k));
        }
        Write(line + "\n");
    }
}

enum CheckStatus : int {
    kAllPassed = 0,
    kSomeFailed = 1,
    kBadCheck = 2,  // a bad command line or expectation file
};

enum class ReportFormat { kLines, kJson, kCsv, kJunit };

struct CheckOptions {
    std::string expectPath;
    std::vector<std::string> programs;  // files and folders, as given
    std::optional<std::string> rosterPath;
    ReportFormat format = ReportFormat::kLines;
    app::GradeOptions grade;
};

constexpr unsigned kMostJobs = 256;
constexpr double kLongestTimeout = 24 * 60 * 60;

// True for "--name" and "--name=...".
bool IsOption(std::string_view arg, std::string_view name) {
    return arg == name || (arg.starts_with(name) && arg.substr(name.size()).starts_with('='));
}

// The value of "--name=value" or of "--name value"; empty when the line ends first.
std::string_view CheckOptionValue(std::string_view arg, std::string_view name, int& i, int argc,
                                  char** argv) {
    if (arg != name) return arg.substr(name.size() + 1);
    return i + 1 < argc ? argv[++i] : std::string_view();
}

std::string Shown(std::string_view text) {
    return app::QuotedWord(text);
}

void SetFormat(CheckOptions& options, ReportFormat format, std::string_view arg) {
    if (options.format != ReportFormat::kLines && options.format != format) {
        throw UsageError{"οι επιλογές --json, --csv και --junit δεν δίνονται μαζί (" +
                         std::string(arg) + ")"};
    }
    options.format = format;
}

CheckOptions ParseCheckOptions(int argc, char** argv) {
    CheckOptions options;
    bool expectGiven = false, optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || !arg.starts_with("-") || arg == "-") {
            options.programs.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (IsOption(arg, "--check")) {
            if (expectGiven) throw UsageError{"--check: δόθηκε δύο φορές"};
            options.expectPath = CheckOptionValue(arg, "--check", i, argc, argv);
            if (options.expectPath.empty()) throw UsageError{"--check: λείπει το αρχείο ελέγχου"};
            expectGiven = true;
        } else if (arg == "--json") {
            SetFormat(options, ReportFormat::kJson, arg);
        } else if (arg == "--csv") {
            SetFormat(options, ReportFormat::kCsv, arg);
        } else if (arg == "--junit") {
            SetFormat(options, ReportFormat::kJunit, arg);
        } else if (arg == "--explain") {
            options.grade.explain = true;
        } else if (IsOption(arg, "--roster")) {
            const std::string_view value = CheckOptionValue(arg, "--roster", i, argc, argv);
            if (value.empty()) throw UsageError{"--roster: λείπει το αρχείο με τα ονόματα"};
            options.rosterPath = std::string(value);
        } else if (IsOption(arg, "--jobs")) {
            const std::string_view value = CheckOptionValue(arg, "--jobs", i, argc, argv);
            const std::optional<std::uint64_t> jobs = DecimalNumber<std::uint64_t>(value);
            const bool digits =
                !value.empty() && std::all_of(value.begin(), value.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
            if (digits && (!jobs || *jobs > kMostJobs)) {
                throw UsageError{"--jobs: " + Shown(value) + " είναι πάρα πολλές· το πολύ " +
                                 std::to_string(kMostJobs)};
            }
            if (!jobs || *jobs == 0) {
                throw UsageError{"--jobs: " + Shown(value) +
                                 " δεν είναι θετικός δεκαδικός αριθμός"};
            }
            options.grade.threads = static_cast<unsigned>(*jobs);
        } else if (IsOption(arg, "--timeout")) {
            const std::string_view value = CheckOptionValue(arg, "--timeout", i, argc, argv);
            const std::optional<std::uint64_t> seconds = DecimalNumber<std::uint64_t>(value);
            if (!seconds || *seconds == 0 || static_cast<double>(*seconds) > kLongestTimeout) {
                throw UsageError{"--timeout: " + Shown(value) +
                                 " δεν είναι δευτερόλεπτα από 1 έως 86400"};
            }
            options.grade.timeoutSeconds = static_cast<double>(*seconds);
        } else {
            throw UsageError{"η επιλογή " + Shown(arg) +
                             " δεν δίνεται μαζί με --check (ένα αρχείο που αρχίζει με «-» "
                             "δίνεται μετά το --)"};
        }
    }
    if (options.programs.empty()) throw UsageError{"--check: λείπουν τα προγράμματα για έλεγχο"};
    return options;
}

// Every byte of a file, a pipe or standard input ("-" or /dev/stdin); nothing, with the reason
// on standard error, when it cannot be read.
std::optional<std::string> ReadTeacherFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (path != "-" && (error || std::filesystem::is_regular_file(status) ||
                        std::filesystem::is_directory(status)))
        return ReadFileOrReport(path);
    std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) return ReadFileOrReport(path);
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    if (file != stdin) std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "zorvan-run: %s\n", app::VisibleText(path).c_str());
        return std::nullopt;
    }
    return bytes;
}

void WriteError(const std::string& message) {
    const std::string line = "zorvan-run: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The expectation file read; nothing, with the reason on standard error, when it cannot be.
std::optional<app::Expectations> ReadExpectationFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadTeacherFile(path);
    if (!bytes) return std::nullopt;
    auto expectations = app::ReadExpectations(*bytes);
    if (const auto* error = std::get_if<app::ExpectationError>(&expectations)) {
        WriteError(app::ExpectationErrorText(app::VisibleText(path), *error));
        return std::nullopt;
    }
    return std::move(std::get<app::Expectations>(expectations));
}

void PrintVerdicts(const app::Expectations& expectations, const std::vector<app::Verdict>& verdicts,
                   const CheckOptions& options) {
    switch (options.format) {
        case ReportFormat::kJson:
            Write(app::VerdictsJson(verdicts));
            return;
        case ReportFormat::kCsv:
            Write(app::VerdictsCsv(expectations, verdicts));
            return;
        case ReportFormat::kJunit:
            Write(app::VerdictsJunit(verdicts));
            return;
        case ReportFormat::kLines:
            break;
    }
    for (const app::Verdict& verdict : verdicts) {
        Write(app::VerdictLine(verdict) + "\n");
        Write(app::ExplanationText(verdict));
    }
    Write(app::SummaryLine(verdicts) + "\n");
}

// --check EXPECT FILE... [options]: one verdict line per program and a summary, or one JSON,
// CSV or JUnit document.
int Check(int argc, char** argv) {
    CheckOptions options;
    try {
        options = ParseCheckOptions(argc, argv);
    } catch (const UsageError& error) {
        ReportUsageError(error.message);
        return kBadCheck;
    }
    const std::optional<app::Expectations> expectations = ReadExpectationFile(options.expectPath);
    if (!expectations) return kBadCheck;
    std::vector<std::string> roster;
    if (options.rosterPath) {
        const std::optional<std::string> bytes = ReadTeacherFile(*options.rosterPath);
        if (!bytes) return kBadCheck;
        if (const auto fault = app::Utf8Fault(*bytes)) {
            WriteError(app::VisibleText(*options.rosterPath) + ": " + *fault);
            return kBadCheck;
        }
        roster = app::RosterNames(*bytes);
    }
    const std::vector<std::string> paths = app::ProgramPaths(options.programs);
    if (paths.empty() && roster.empty()) {
        WriteError("δεν βρέθηκε κανένα πρόγραμμα (.zrv ή .txt) για έλεγχο");
        return kBadCheck;
    }

    std::vector<app::Verdict> verdicts = app::GradeFiles(*expectations, paths, options.grade);
    for (app::Verdict& missing : app::NotSubmitted(*expectations, roster, paths))
        verdicts.push_back(std::move(missing));
    PrintVerdicts(*expectations, verdicts, options);
    if (!FlushOutput()) return kBadCheck;
    const bool allPassed = std::all_of(verdicts.begin(), verdicts.end(),
                                       [](const app::Verdict& verdict) { return verdict.passed; });
    return allPassed ? kAllPassed : kSomeFailed;
}

// --listing FILE: the assembled program, a line a row; status 2 when a line does not assemble.
int Listing(int argc, char** argv) {
    std::optional<std::string> file;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--listing=") && !file && arg.size() > 10) {
            file = std::string(arg.substr(10));
        } else if (arg == "--listing" && !file && i + 1 < argc) {
            file = argv[++i];
        } else {
            ReportUsageError(arg == "--listing"
                                 ? "--listing: λείπει το αρχείο ή δόθηκε δύο φορές"
                                 : "--listing: περισσεύει το «" + std::string(arg) + "»");
            return kBadCommandLine;
        }
    }
    if (!file) {
        ReportUsageError("--listing: λείπει το αρχείο");
        return kBadCommandLine;
    }
    const std::optional<std::string> bytes = ReadFileOrReport(*file);
    if (!bytes) return kNotRun;
    grid::ProgramGrid grid;
    app::PlaceProgramRows(grid, app::ReadProgramText(*bytes));
    const app::AssembledListing listing = app::ListAssembledProgram(grid);
    for (const std::string& line : listing.lines) Write(line + "\n");
    if (!FlushOutput()) return kNotRun;
    return listing.failedLines == 0 ? kFinished : kNotRun;
}

// Reads the program and assembles it into memory, printing the assembler's summary. Returns the
// exit status when the file cannot be read or does not assemble.
std::optional<ExitStatus> AssembleFile(const std::string& path, app::PackedProgram& program,
                                       cpu::Machine& machine) {
    std::optional<std::string> bytes = ReadFileOrReport(path);
    if (!bytes) return kNotRun;
    program = app::PackedProgram(std::move(*bytes));
    try {
        const assembler::AssemblyResult result = assembler::Assemble(program, machine);
        if (result.kind != assembler::AssemblyResult::Kind::kSummary) {
            std::fprintf(stderr, "%s\n", result.text.c_str());
            return kNotRun;
        }
        Write(assembler::TranslatedLinesText(result.lines) + "\n");
        Write(assembler::TotalBytesText(result.bytes) + "\n");
    } catch (const text::ConversionError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return kNotRun;
    }
    return std::nullopt;
}

// The --poke cells, then the --set registers.
void PrepareMachine(const Options& options, cpu::Machine& machine) {
    for (const Poke& poke : options.pokes) {
        for (std::size_t k = 0; k < poke.values.size(); ++k) {
            machine.Write(std::int64_t{poke.address} + static_cast<std::int64_t>(k),
                          poke.values[k]);
        }
    }
    for (const RegisterValue& reg : options.registers) reg.SetOn(machine);
}

// --from, or else the address in the program's first line; nothing, with the reason on standard
// error, when neither is there.
std::optional<int> StartAddress(const std::optional<int>& from, const grid::ProgramLines& lines) {
    if (from) return from;
    const std::string_view cell = lines.Text(grid::kAddressColumn, 1);
    if (cell.empty() || !text::IsHexText(cell) || cell.size() > 8 ||
        !cpu::Machine::IsAddress(text::HexTextToInt(cell))) {
        std::fprintf(stderr,
                     "zorvan-run: δεν υπάρχει διεύθυνση έναρξης στη γραμμή 1· δώστε --from\n");
        return std::nullopt;
    }
    return text::HexTextToInt(cell);
}

// How a run ended, as the report names it, and the exit status it gives.
struct RunOutcome {
    std::string_view end;
    ExitStatus status = kFinished;
};

RunOutcome OutcomeOf(cpu::RunEnd end) {
    switch (end) {
        case cpu::RunEnd::kStackFull:
            return {"stack full", kStackFull};
        case cpu::RunEnd::kNotExecuted:
            return {"not executed", kStoppedShort};
        case cpu::RunEnd::kLimit:
        case cpu::RunEnd::kRunning:
        case cpu::RunEnd::kStopped:
            return {"limit", kStoppedShort};
        case cpu::RunEnd::kEmptyCell:
            break;
    }
    return {"empty cell", kFinished};
}

// --steps instructions from the start address, or a run until it ends or reaches the limit.
RunOutcome Execute(const Options& options, int from, cpu::Machine& machine,
                   ConsoleOutput& console) {
    if (!options.steps) {
        return OutcomeOf(
            cpu::RunFrom(machine, console, from, options.limit.value_or(kDefaultLimit)));
    }
    machine.PC = from;
    for (std::int64_t k = 0; k < *options.steps; ++k) cpu::StepAt(machine, console, machine.PC);
    return {"steps", kFinished};
}

// [FILE] [options]: assembles the program, runs it and prints how it ended, the registers and the
// dumps.
int RunAndReport(Options& options) {
    auto machine = std::make_unique<cpu::Machine>();
    app::PackedProgram program;
    if (options.file) {
        if (const auto failure = AssembleFile(*options.file, program, *machine)) return *failure;
    }
    PrepareMachine(options, *machine);

    ConsoleOutput console(*machine, std::move(options.inputs));
    RunOutcome outcome{"assembled", kFinished};
    if (!options.assembleOnly) {
        const std::optional<int> from = StartAddress(options.from, program);
        if (!from) return kNotRun;
        outcome = Execute(options, *from, *machine, console);
    }

    console.EndLine();
    PrintState(*machine, outcome.end);
    for (const Dump& dump : options.dumps) PrintDump(*machine, dump);
    if (!FlushOutput()) return kNotRun;
    return outcome.status;
}

// True when an argument before "--", wherever it stands on the line, is the option "--name" or
// "--name=...".
bool HasOption(int argc, char** argv, std::string_view name) {
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i)
        if (IsOption(argv[i], name)) return true;
    return false;
}

int Main(int argc, char** argv) {
    // Either names a mode of its own.
    if (HasOption(argc, argv, "--check")) return Check(argc, argv);
    if (HasOption(argc, argv, "--listing")) return Listing(argc, argv);

    Options options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const UsageError& error) {
        ReportUsageError(error.message);
        return kBadCommandLine;
    }
    if (options.help) {
        Write(kUsage);
        return kFinished;
    }
    return RunAndReport(options);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::bad_alloc&) {
        // A file too big for the memory there is: said in the user's words, not the library's.
        std::fputs("zorvan-run: δεν υπάρχει αρκετή μνήμη για αυτό το αρχείο\n", stderr);
        return kNotRun;
    }
}
