// zorvan-run: runs a saved program without the desktop application, for checking students'
// programs in batch and for benchmarks. Reads and assembles FILE as Open and Assemble do, runs it
// as Run (or Step) does, prints the console output, the end, the registers and memory dumps.
// It also grades programs against an expectation file and prints assembled listings.
//
//   zorvan-run sum.zrv --set AC=05 --dump 0300:1
//   zorvan-run --check ask1.expect ask1/           # one verdict line per program, then a summary
//   zorvan-run --listing sum.zrv

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/console_text.h"
#include "app/expectations.h"
#include "app/grader.h"
#include "app/program_file.h"
#include "app/program_listing.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"
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
    "       zorvan-run --check EXPECT FILE... [--json] [--jobs N]\n"
    "  ελέγχει κάθε πρόγραμμα (ένας φάκελος: όλα τα .zrv του) με το αρχείο ελέγχου EXPECT\n"
    "       zorvan-run --listing FILE\n"
    "  τυπώνει το συμβολομεταφρασμένο πρόγραμμα\n";

constexpr std::int64_t kDefaultLimit = 100'000'000;

enum ExitStatus : int {
    kFinished = 0,
    kUsageOrFileError = 1,
    kAssemblyFailed = 2,
    kStackFull = 3,
    kStoppedShort = 4,  // not executed, or the instruction limit reached
};

// A usage error: the message goes to standard error with the usage, status 1.
struct UsageError {
    std::string message;
};

struct Poke {
    int address = 0;
    std::vector<std::int32_t> values;
};

struct Dump {
    int address = 0;
    int length = 0;
};

struct Options {
    std::optional<std::string> file;
    std::optional<int> from;
    std::vector<std::pair<std::string, std::int32_t>> registers;
    std::vector<Poke> pokes;
    std::int64_t limit = kDefaultLimit;
    std::optional<std::int64_t> steps;
    std::deque<std::int32_t> inputs;
    std::vector<Dump> dumps;
    bool assembleOnly = false;
    bool help = false;
};

std::int32_t Hex(std::string_view text, std::string_view what) {
    if (text.empty() || !text::IsHexText(text)) {
        throw UsageError{std::string(what) + ": «" + std::string(text) +
                         "» δεν είναι δεκαεξαδικός αριθμός"};
    }
    try {
        return text::HexTextToInt(text);
    } catch (const text::ConversionError& error) {
        throw UsageError{std::string(what) + ": " + error.what()};
    }
}

int HexAddress(std::string_view text, std::string_view what) {
    const std::int32_t address = Hex(text, what);
    if (!cpu::Machine::IsAddress(address)) {
        throw UsageError{std::string(what) + ": η διεύθυνση «" + std::string(text) +
                         "» είναι έξω από 0000-FFFF"};
    }
    return address;
}

std::int64_t Count(std::string_view text, std::string_view what) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
        throw UsageError{std::string(what) + ": «" + std::string(text) +
                         "» δεν είναι μη αρνητικός δεκαδικός αριθμός"};
    }
    return value;
}

// Splits "A:B" at the first separator; both parts must be present.
std::pair<std::string_view, std::string_view> Split(std::string_view text, char separator,
                                                    std::string_view what) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        throw UsageError{std::string(what) + ": λείπει το «" + std::string(1, separator) +
                         "» στο «" + std::string(text) + "»"};
    }
    return {text.substr(0, at), text.substr(at + 1)};
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    bool limitGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
                inlineValue = arg.substr(equals + 1);
                arg = arg.substr(0, equals);
            }
        }
        const auto value = [&]() -> std::string_view {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= argc) throw UsageError{std::string(arg) + ": λείπει η τιμή"};
            return argv[++i];
        };

        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--from") {
            options.from = HexAddress(value(), arg);
        } else if (arg == "--set") {
            const auto [name, number] = Split(value(), '=', arg);
            if (name != "AC" && name != "XR" && name != "YR" && name != "SP" && name != "P" &&
                name != "RA") {
                throw UsageError{"--set: άγνωστος καταχωρητής «" + std::string(name) + "»"};
            }
            options.registers.emplace_back(std::string(name), Hex(number, arg));
        } else if (arg == "--poke") {
            const auto [address, list] = Split(value(), ':', arg);
            Poke poke{HexAddress(address, arg), {}};
            std::string_view rest = list;
            while (true) {
                const std::size_t comma = rest.find(',');
                poke.values.push_back(Hex(rest.substr(0, comma), arg));
                if (comma == std::string_view::npos) break;
                rest.remove_prefix(comma + 1);
            }
            options.pokes.push_back(std::move(poke));
        } else if (arg == "--limit") {
            options.limit = Count(value(), arg);
            limitGiven = true;
        } else if (arg == "--steps") {
            options.steps = Count(value(), arg);
        } else if (arg == "--input") {
            options.inputs.push_back(Hex(value(), arg));
        } else if (arg == "--dump") {
            const auto [address, length] = Split(value(), ':', arg);
            options.dumps.push_back(Dump{HexAddress(address, arg), Hex(length, arg)});
        } else if (arg == "--assemble-only") {
            options.assembleOnly = true;
        } else if (arg.starts_with("-") && arg != "-") {
            throw UsageError{"άγνωστη επιλογή «" + std::string(arg) + "»"};
        } else if (options.file) {
            throw UsageError{"δόθηκαν δύο αρχεία: «" + *options.file + "» και «" +
                             std::string(arg) + "»"};
        } else {
            options.file = std::string(arg);
        }
    }
    if (limitGiven && options.steps) {
        throw UsageError{"--limit και --steps δεν δίνονται μαζί"};
    }
    return options;
}

void Write(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
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

void SetRegister(cpu::Machine& machine, const std::string& name, std::int32_t value) {
    if (name == "AC") machine.AC = value;
    if (name == "XR") machine.XR = value;
    if (name == "YR") machine.YR = value;
    if (name == "SP") machine.SP = value;
    if (name == "P") machine.UnpackStatus(value);
    if (name == "RA") machine.returnAddress = value;
}

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

int CheckUsage(const std::string& message) {
    std::fprintf(stderr, "zorvan-run: %s\n%s", message.c_str(), kUsage.data());
    return kBadCheck;
}

// --check EXPECT FILE... [--json] [--jobs N]: one verdict line per program and a summary, or
// one JSON document.
int Check(int argc, char** argv) {
    std::optional<std::string> expectPath;
    std::vector<std::string> arguments;
    bool json = false;
    unsigned jobs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--check" || arg.starts_with("--check=")) {
            if (expectPath) return CheckUsage("--check: δόθηκε δύο φορές");
            if (arg != "--check") {
                expectPath = std::string(arg.substr(8));
            } else if (i + 1 < argc) {
                expectPath = argv[++i];
            }
            if (!expectPath || expectPath->empty())
                return CheckUsage("--check: λείπει το αρχείο ελέγχου");
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--jobs" || arg.starts_with("--jobs=")) {
            std::string_view value;
            if (arg.starts_with("--jobs=")) {
                value = arg.substr(7);
            } else if (i + 1 < argc) {
                value = argv[++i];
            }
            unsigned count = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), count);
            if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
                count == 0) {
                return CheckUsage("--jobs: «" + std::string(value) +
                                  "» δεν είναι θετικός δεκαδικός αριθμός");
            }
            jobs = count;
        } else if (arg.starts_with("-") && arg != "-") {
            return CheckUsage("η επιλογή «" + std::string(arg) + "» δεν δίνεται μαζί με --check");
        } else {
            arguments.emplace_back(arg);
        }
    }
    if (arguments.empty()) return CheckUsage("--check: λείπουν τα προγράμματα για έλεγχο");

    auto read = app::FileStore().ReadAll(*expectPath);
    if (const auto* failure = std::get_if<app::FileFailure>(&read)) {
        std::fprintf(stderr, "zorvan-run: %s\n", failure->message.c_str());
        return kBadCheck;
    }
    auto expectations = app::ReadExpectations(std::get<std::string>(read));
    if (const auto* error = std::get_if<app::ExpectationError>(&expectations)) {
        std::fprintf(stderr, "zorvan-run: %s\n",
                     app::ExpectationErrorText(*expectPath, *error).c_str());
        return kBadCheck;
    }
    const std::vector<std::string> paths = app::ProgramPaths(arguments);
    if (paths.empty()) {
        std::fprintf(stderr, "zorvan-run: δεν βρέθηκε κανένα πρόγραμμα (.zrv) για έλεγχο\n");
        return kBadCheck;
    }

    const std::vector<app::Verdict> verdicts =
        app::GradeFiles(std::get<app::Expectations>(expectations), paths, jobs);
    if (json) {
        Write(app::VerdictsJson(verdicts));
    } else {
        for (const app::Verdict& verdict : verdicts) Write(app::VerdictLine(verdict) + "\n");
        Write(app::SummaryLine(verdicts) + "\n");
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "zorvan-run: %s\n", text::GreekSystemError(errno).c_str());
        return kBadCheck;
    }
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
            std::fprintf(stderr, "zorvan-run: --listing: %s\n%s",
                         arg == "--listing" ? "λείπει το αρχείο ή δόθηκε δύο φορές"
                                            : ("περισσεύει το «" + std::string(arg) + "»").c_str(),
                         kUsage.data());
            return kUsageOrFileError;
        }
    }
    auto read = app::FileStore().ReadAll(*file);
    if (const auto* failure = std::get_if<app::FileFailure>(&read)) {
        std::fprintf(stderr, "zorvan-run: %s\n", failure->message.c_str());
        return kUsageOrFileError;
    }
    grid::ProgramGrid grid;
    app::PlaceProgramRows(grid, app::ReadProgramText(std::get<std::string>(read)));
    const app::AssembledListing listing = app::ListAssembledProgram(grid);
    for (const std::string& line : listing.lines) Write(line + "\n");
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "zorvan-run: %s\n", text::GreekSystemError(errno).c_str());
        return kUsageOrFileError;
    }
    return listing.failedLines == 0 ? kFinished : kAssemblyFailed;
}

int Main(int argc, char** argv) {
    // Either names a mode of its own, wherever it stands on the line.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--check" || arg.starts_with("--check=")) return Check(argc, argv);
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--listing" || arg.starts_with("--listing=")) return Listing(argc, argv);
    }

    Options options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zorvan-run: %s\n%s", error.message.c_str(), kUsage.data());
        return kUsageOrFileError;
    }
    if (options.help) {
        Write(kUsage);
        return kFinished;
    }

    auto machine = std::make_unique<cpu::Machine>();
    grid::ProgramGrid grid;
    if (options.file) {
        auto read = app::FileStore().ReadAll(*options.file);
        if (const auto* failure = std::get_if<app::FileFailure>(&read)) {
            std::fprintf(stderr, "zorvan-run: %s\n", failure->message.c_str());
            return kUsageOrFileError;
        }
        app::PlaceProgramRows(grid, app::ReadProgramText(std::get<std::string>(read)));
        try {
            const assembler::AssemblyResult result = assembler::Assemble(grid, *machine);
            if (result.kind != assembler::AssemblyResult::Kind::kSummary) {
                std::fprintf(stderr, "%s\n", result.text.c_str());
                return kAssemblyFailed;
            }
            Write(assembler::TranslatedLinesText(result.lines) + "\n");
            Write(assembler::TotalBytesText(result.bytes) + "\n");
        } catch (const text::ConversionError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return kAssemblyFailed;
        }
    }

    for (const Poke& poke : options.pokes) {
        for (std::size_t k = 0; k < poke.values.size(); ++k) {
            machine->Write(std::int64_t{poke.address} + static_cast<std::int64_t>(k),
                           poke.values[k]);
        }
    }
    for (const auto& [name, value] : options.registers) SetRegister(*machine, name, value);

    std::string_view end = "assembled";
    int status = kFinished;
    ConsoleOutput console(*machine, std::move(options.inputs));
    if (!options.assembleOnly) {
        int from = 0;
        if (options.from) {
            from = *options.from;
        } else {
            const std::string& cell = grid.Cell(grid::kAddressColumn, 1);
            if (cell.empty() || !text::IsHexText(cell) || cell.size() > 8 ||
                !cpu::Machine::IsAddress(text::HexTextToInt(cell))) {
                std::fprintf(stderr,
                             "zorvan-run: δεν υπάρχει διεύθυνση έναρξης στη γραμμή 1· δώστε "
                             "--from\n");
                return kUsageOrFileError;
            }
            from = text::HexTextToInt(cell);
        }

        if (options.steps) {
            machine->PC = from;
            for (std::int64_t k = 0; k < *options.steps; ++k) {
                cpu::StepAt(*machine, console, machine->PC);
            }
            end = "steps";
        } else {
            switch (cpu::RunFrom(*machine, console, from, options.limit)) {
                case cpu::RunEnd::kStackFull:
                    end = "stack full";
                    status = kStackFull;
                    break;
                case cpu::RunEnd::kNotExecuted:
                    end = "not executed";
                    status = kStoppedShort;
                    break;
                case cpu::RunEnd::kLimit:
                case cpu::RunEnd::kRunning:
                case cpu::RunEnd::kStopped:
                    end = "limit";
                    status = kStoppedShort;
                    break;
                case cpu::RunEnd::kEmptyCell:
                    end = "empty cell";
                    break;
            }
        }
    }

    console.EndLine();
    PrintState(*machine, end);
    for (const Dump& dump : options.dumps) PrintDump(*machine, dump);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "zorvan-run: %s\n", text::GreekSystemError(errno).c_str());
        return kUsageOrFileError;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    return Main(argc, argv);
}
