#include "app/expectations.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <limits>
#include <utility>

#include "app/headless_console.h"
#include "cpu/machine.h"
#include "text/characters.h"
#include "text/hex_text.h"

namespace zorvan::app {

namespace {

// A line that cannot be read; caught once per line and given its number.
struct LineError {
    std::string message;
};

std::string Quoted(std::string_view text) {
    return QuotedWord(text);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The next word (up to a space), taken off the front of text.
std::string_view NextWord(std::string_view& text) {
    text = Trim(text);
    std::size_t length = 0;
    while (length < text.size() && !IsSpace(text[length])) ++length;
    const std::string_view word = text.substr(0, length);
    text.remove_prefix(length);
    text = Trim(text);
    return word;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    while (!Trim(text).empty()) words.push_back(NextWord(text));
    return words;
}

// The line up to a "#" that is not inside a quoted text.
std::string_view WithoutComment(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (quoted && line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && line[i] == '#' && (i == 0 || line[i - 1] != '=')) {
            // "AC=#0C" is a value written as the assembler's immediate, not a comment.
            return line.substr(0, i);
        }
    }
    return line;
}

std::int32_t HexNumber(std::string_view text, std::string_view what) {
    if (text.starts_with('#') && text.size() > 1 && text::IsHexText(text.substr(1))) {
        throw LineError{std::string(what) + Quoted(text) + ": η τιμή γράφεται χωρίς «#» (" +
                        VisibleText(text.substr(1)) + ")"};
    }
    if (text.empty() || !text::IsHexText(text)) {
        throw LineError{std::string(what) + Quoted(text) + " δεν είναι δεκαεξαδικός αριθμός"};
    }
    const std::optional<std::int32_t> value = text::ParseHex(text);
    if (!value) {
        throw LineError{std::string(what) + Quoted(text) +
                        " είναι πολύ μεγάλος αριθμός (το πολύ 8 δεκαεξαδικά ψηφία)"};
    }
    return *value;
}

int Address(std::string_view text, std::string_view what) {
    const std::int32_t address = HexNumber(text, what);
    if (!cpu::Machine::IsAddress(address)) {
        throw LineError{std::string(what) + "η διεύθυνση " + Quoted(text) +
                        " είναι έξω από 0000-FFFF"};
    }
    return address;
}

std::int32_t CellValue(std::string_view text, std::string_view what) {
    const std::int32_t value = HexNumber(text, what);
    if (value < 0 || value > 0xFFFF) {
        throw LineError{std::string(what) + "η τιμή " + Quoted(text) +
                        " δεν χωράει σε κελί (00-FFFF)"};
    }
    return value;
}

// "0300: 05 07" (the colon may stand apart): the address and the values of the cells from it.
std::pair<int, std::vector<std::int32_t>> Cells(std::string_view text, std::string_view what) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        throw LineError{std::string(what) + "λείπει το «:» μετά τη διεύθυνση"};
    }
    const int address = Address(Trim(text.substr(0, colon)), what);
    std::vector<std::int32_t> values;
    for (std::string_view word : Words(text.substr(colon + 1))) {
        values.push_back(CellValue(word, what));
    }
    if (values.empty()) throw LineError{std::string(what) + "λείπουν οι τιμές μετά το «:»"};
    if (address + static_cast<std::int64_t>(values.size()) > cpu::kMemorySize) {
        throw LineError{std::string(what) + "τα κελιά περνούν πέρα από το FFFF"};
    }
    return {address, std::move(values)};
}

// A register or a status bit as the files name it, in either case ("-" has no name there).
std::optional<MachineField> FieldNamed(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::optional<MachineField> field = cpu::FieldNamed(upper);
    if (field && field->isStatusBit && field->bit == cpu::kUnused) return std::nullopt;
    return field;
}

// When a name reads as a register or bit once its Greek letters are taken for the Latin ones
// they look like: a hint that says so.
std::string GreekLettersHint(std::string_view name) {
    static constexpr std::pair<char32_t, char> kLookAlikes[] = {
        {U'Α', 'A'}, {U'Β', 'B'}, {U'Ε', 'E'}, {U'Ζ', 'Z'}, {U'Η', 'H'}, {U'Ι', 'I'}, {U'Κ', 'K'},
        {U'Μ', 'M'}, {U'Ν', 'N'}, {U'Ο', 'O'}, {U'Ρ', 'P'}, {U'Τ', 'T'}, {U'Υ', 'Y'}, {U'Χ', 'X'},
        {U'α', 'a'}, {U'ι', 'i'}, {U'κ', 'k'}, {U'ν', 'v'}, {U'ο', 'o'}, {U'χ', 'x'}};
    std::string latin, greek;
    for (const char32_t c : text::ToCharacters(name)) {
        const auto* match = std::find_if(std::begin(kLookAlikes), std::end(kLookAlikes),
                                         [c](const auto& pair) { return pair.first == c; });
        if (match == std::end(kLookAlikes)) {
            text::AppendCharacter(latin, c);
            continue;
        }
        latin += match->second;
        if (!greek.empty()) greek += ", ";
        text::AppendCharacter(greek, c);
    }
    if (greek.empty() || !FieldNamed(latin)) return "";
    return "· τα " + greek + " είναι ελληνικά γράμματα: γράψτε " + latin + " με λατινικά";
}

// "AC=0C XR = 05 Z=1": each name with its value, spaces allowed around "=".
std::vector<std::pair<MachineField, std::int32_t>> Assignments(std::string_view text,
                                                               std::string_view what) {
    std::vector<std::pair<MachineField, std::int32_t>> assignments;
    text = Trim(text);
    if (text.empty()) {
        throw LineError{std::string(what) + "λείπει ένας καταχωρητής με την τιμή του (AC=05)"};
    }
    while (!text.empty()) {
        std::size_t length = 0;
        while (length < text.size() && !IsSpace(text[length]) && text[length] != '=') ++length;
        const std::string_view name = text.substr(0, length);
        text = Trim(text.substr(length));
        if (name.empty()) {
            throw LineError{std::string(what) +
                            "λείπει το όνομα του καταχωρητή πριν από το «=» (AC=05)"};
        }
        if (text.empty() || text.front() != '=') {
            throw LineError{std::string(what) + "λείπει το «=» μετά το " + Quoted(name)};
        }
        const std::optional<MachineField> field = FieldNamed(name);
        if (!field) {
            throw LineError{std::string(what) + "άγνωστος καταχωρητής ή bit κατάστασης " +
                            Quoted(name) + " (καταχωρητές: AC XR YR SP PC RA, bit: N V B D I Z C)" +
                            GreekLettersHint(name)};
        }
        text = Trim(text.substr(1));
        const std::string_view value = NextWord(text);
        if (value.empty()) {
            throw LineError{std::string(what) + "λείπει η τιμή του " + Quoted(name)};
        }
        if (field->isStatusBit) {
            if (value != "0" && value != "1") {
                throw LineError{std::string(what) + "το bit " + std::string(FieldName(*field)) +
                                " είναι 0 ή 1, όχι " + Quoted(value)};
            }
            assignments.emplace_back(*field, value == "1" ? 1 : 0);
        } else {
            assignments.emplace_back(*field, HexNumber(value, what));
        }
    }
    return assignments;
}

// The escape after the backslash at text[i], undone onto console; i is left on its last character.
void UndoEscape(std::string_view text, std::size_t& i, std::string& console,
                std::string_view what) {
    if (++i >= text.size()) {
        throw LineError{std::string(what) + "τα εισαγωγικά δεν κλείνουν"};
    }
    switch (text[i]) {
        case 'n':
            console.push_back('\n');
            return;
        case 't':
            console.push_back('\t');
            return;
        case '"':
        case '\\':
            console.push_back(text[i]);
            return;
        case 'x': {
            const std::string_view digits = text.substr(i + 1, 2);
            const std::optional<std::int32_t> byte =
                digits.size() == 2 ? text::ParseHex(digits) : std::nullopt;
            if (!byte) {
                throw LineError{std::string(what) +
                                "μετά το «\\x» ακολουθούν δύο δεκαεξαδικά ψηφία"};
            }
            // The console's character of that byte, as a program's cell would give it: 00 gives
            // none, and 0D breaks the line as in the window.
            console += *byte == 0x0D ? std::string("\n") : ConsoleCharacter(*byte);
            i += 2;
            return;
        }
        default:
            throw LineError{std::string(what) + "άγνωστη ακολουθία " +
                            Quoted(text.substr(i - 1, 2)) +
                            " (γράψτε \\n, \\t, \\\", \\\\ ή \\xHH)"};
    }
}

// A statement's text between its double quotes, its escapes undone; nothing may follow the
// closing quote.
std::string UnquotedText(std::string_view text, std::string_view what) {
    text = Trim(text);
    if (text.empty() || text.front() != '"') {
        throw LineError{std::string(what) + "το κείμενο γράφεται σε διπλά εισαγωγικά"};
    }
    std::string console;
    std::size_t i = 1;
    for (;; ++i) {
        if (i >= text.size()) {
            throw LineError{std::string(what) + "τα εισαγωγικά δεν κλείνουν"};
        }
        const char c = text[i];
        if (c == '"') break;
        if (const auto byte = static_cast<unsigned char>(c);
            (byte < 0x20 && c != '\t') || byte == 0x7F) {
            throw LineError{std::string(what) + "ο χαρακτήρας ελέγχου " + text::FormatHex2(byte) +
                            " γράφεται \\x" + text::FormatHex2(byte)};
        }
        if (c == '\\') {
            UndoEscape(text, i, console, what);
        } else {
            console.push_back(c);
        }
    }
    const std::string_view rest = Trim(text.substr(i + 1));
    if (!rest.empty()) {
        throw LineError{std::string(what) + "περισσεύει το " + Quoted(rest) +
                        " μετά τα εισαγωγικά"};
    }
    return console;
}

std::string UnquotedConsoleText(std::string_view text) {
    return UnquotedText(text, "console: ");
}

cpu::RunEnd EndNamed(std::string_view text) {
    std::string words;
    for (std::string_view word : Words(text)) {
        if (!words.empty()) words += ' ';
        words += Lower(word);
    }
    for (const cpu::RunEnd end : {cpu::RunEnd::kEmptyCell, cpu::RunEnd::kStackFull,
                                  cpu::RunEnd::kLimit, cpu::RunEnd::kNotExecuted}) {
        if (words == EndKeyword(end)) return end;
    }
    throw LineError{
        "end: " + std::string(words.empty() ? "λείπει το τέλος" : "άγνωστο τέλος " + Quoted(text)) +
        " (γράψτε empty cell, stack full, limit ή not executed)"};
}

// A decimal number from 0 to max, the statement's only word.
std::int64_t Decimal(std::string_view text, std::string_view what, std::int64_t max) {
    const std::vector<std::string_view> words = Words(text);
    std::int64_t value = -1;
    if (words.size() == 1) {
        const std::string_view word = words.front();
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size()) value = -1;
    }
    if (value < 0) {
        throw LineError{std::string(what) + Quoted(Trim(text)) +
                        " δεν είναι μη αρνητικός δεκαδικός αριθμός"};
    }
    if (value > max) {
        throw LineError{std::string(what) + Quoted(Trim(text)) + " είναι πάνω από " +
                        std::to_string(max)};
    }
    return value;
}

std::string OnlyWord(std::string_view text, std::string_view what) {
    const std::vector<std::string_view> words = Words(text);
    if (words.empty()) throw LineError{std::string(what) + "λείπει η τιμή"};
    if (words.size() > 1) {
        throw LineError{std::string(what) + "περισσεύει το " + Quoted(words[1])};
    }
    return std::string(words.front());
}

// Where a statement given once was first given.
struct Once {
    int line = 0;
    void Take(std::string_view keyword, int at) {
        if (line != 0) {
            throw LineError{std::string(keyword) + ": δίνεται δεύτερη φορά (πρώτη στη γραμμή " +
                            std::to_string(line) + ")"};
        }
        line = at;
    }
};

// What a check is about, for finding two checks of the same thing: "" for the checks that may
// be repeated (console contains).
std::vector<std::string> CheckedThings(const Expectation& check) {
    switch (check.kind) {
        case Expectation::Kind::kEnd:
            return {"end"};
        case Expectation::Kind::kField:
            return {std::string(FieldName(check.field))};
        case Expectation::Kind::kMemory: {
            std::vector<std::string> cells;
            for (std::size_t k = 0; k < check.values.size(); ++k)
                cells.push_back(text::FormatHex4(check.address + static_cast<std::int64_t>(k)));
            return cells;
        }
        case Expectation::Kind::kConsole:
            return {"console"};
        case Expectation::Kind::kMaxInstructions:
            return {"max instructions"};
        case Expectation::Kind::kMaxBytes:
            return {"max bytes"};
        case Expectation::Kind::kConsoleContains:
        case Expectation::Kind::kConsoleStarts:
            break;
    }
    return {};
}

// Why two checks of one case cannot both be met, or "".
std::string Contradiction(const Expectation& earlier, const Expectation& later) {
    const std::vector<std::string> a = CheckedThings(earlier), b = CheckedThings(later);
    for (const std::string& thing : b) {
        if (std::find(a.begin(), a.end(), thing) != a.end()) {
            return "το " + thing + " ελέγχεται δύο φορές (γραμμές " + std::to_string(earlier.line) +
                   " και " + std::to_string(later.line) + ")";
        }
    }
    // Two starts of which neither starts the other.
    if (earlier.kind == Expectation::Kind::kConsoleStarts &&
        later.kind == Expectation::Kind::kConsoleStarts &&
        !earlier.console.starts_with(later.console) &&
        !later.console.starts_with(earlier.console)) {
        return "η κονσόλα δεν μπορεί να ισχύουν και οι δύο έλεγχοι (γραμμές " +
               std::to_string(earlier.line) + " και " + std::to_string(later.line) + ")";
    }
    // An exact console text and a part of it that it does not hold.
    const Expectation* exact = earlier.kind == Expectation::Kind::kConsole ? &earlier
                               : later.kind == Expectation::Kind::kConsole ? &later
                                                                           : nullptr;
    const Expectation* part = exact == &earlier ? &later : &earlier;
    if (exact == nullptr || part->kind == Expectation::Kind::kConsole) return "";
    const bool holds = part->kind == Expectation::Kind::kConsoleContains
                           ? exact->console.find(part->console) != std::string::npos
                       : part->kind == Expectation::Kind::kConsoleStarts
                           ? exact->console.starts_with(part->console)
                           : true;
    if (holds) return "";
    return "η κονσόλα δεν μπορεί να ισχύουν και οι δύο έλεγχοι (γραμμές " +
           std::to_string(earlier.line) + " και " + std::to_string(later.line) + ")";
}

constexpr std::int64_t kMaxPoints = 1'000'000;

struct Reader {
    ExpectationCase shared;
    std::vector<ExpectationCase> cases;
    // Given once in a case; a case's own from, limit and points replace the shared ones.
    struct Given {
        Once from, limit, points, maxInstructions, maxBytes;
    } sharedGiven, caseGiven;

    ExpectationCase& Current() { return cases.empty() ? shared : cases.back(); }
    Given& CurrentGiven() { return cases.empty() ? sharedGiven : caseGiven; }

    void AddCheck(Expectation check) {
        ExpectationCase& current = Current();
        for (const Expectation& earlier : current.checks) {
            if (std::string why = Contradiction(earlier, check); !why.empty()) {
                throw LineError{std::move(why)};
            }
        }
        if (check.kind == Expectation::Kind::kEnd) current.endStated = true;
        current.checks.push_back(std::move(check));
    }

    void StartCase(std::string_view rest, int number) {
        std::string name = UnquotedText(rest, "case: ");
        if (Trim(name).empty()) throw LineError{"case: λείπει το όνομα (case \"άθροισμα 1..5\")"};
        for (const ExpectationCase& earlier : cases) {
            if (earlier.name == name) {
                throw LineError{"case: το όνομα " + Quoted(name) +
                                " δίνεται δεύτερη φορά (πρώτη στη γραμμή " +
                                std::to_string(earlier.line) + ")"};
            }
        }
        ExpectationCase next = shared;
        next.name = std::move(name);
        next.line = number;
        cases.push_back(std::move(next));
        caseGiven = Given{};
    }

    void Read(std::string_view line, int number) {
        std::string_view rest = Trim(WithoutComment(line));
        if (rest.empty()) return;
        const std::string_view statement = rest;
        const std::string keyword = Lower(NextWord(rest));
        ExpectationCase& current = Current();
        Given& given = CurrentGiven();
        if (keyword == "case") {
            StartCase(rest, number);
        } else if (keyword == "points") {
            given.points.Take(keyword, number);
            current.points = static_cast<int>(Decimal(rest, "points: ", kMaxPoints));
        } else if (keyword == "from") {
            given.from.Take(keyword, number);
            current.from = Address(OnlyWord(rest, "from: "), "from: ");
        } else if (keyword == "limit") {
            given.limit.Take(keyword, number);
            current.limit = Decimal(rest, "limit: ", std::numeric_limits<std::int64_t>::max());
        } else if (keyword == "max") {
            ReadMaximum(rest, number);
        } else if (keyword == "input") {
            ReadInputs(rest);
        } else if (keyword == "poke") {
            ReadPoke(rest, number);
        } else if (keyword == "set") {
            for (const auto& [field, value] : Assignments(rest, "set: "))
                current.settings.push_back(MachineSetting{number, false, field, 0, {value}});
        } else if (keyword == "end") {
            AddCheck(Expectation{.line = number, .end = EndNamed(rest)});
        } else if (keyword == "console") {
            ReadConsole(rest, number);
        } else if (IsMemoryCheck(statement)) {
            ReadMemoryCheck(statement, number);
        } else if (statement.find('=') != std::string_view::npos) {
            for (const auto& [field, value] : Assignments(statement, "")) {
                AddCheck(Expectation{.kind = Expectation::Kind::kField,
                                     .line = number,
                                     .field = field,
                                     .values = {value}});
            }
        } else {
            const std::string_view name = statement.substr(0, statement.find_first_of(" \t:"));
            throw LineError{"άγνωστη δήλωση " + Quoted(Trim(statement)) +
                            " (case, points, from, limit, input, poke, set, end, console, max, "
                            "AC=05, 0300: 05)" +
                            GreekLettersHint(name)};
        }
    }

    // "max instructions 500", "max bytes 40".
    void ReadMaximum(std::string_view rest, int number) {
        const std::string what = Lower(NextWord(rest));
        Given& given = CurrentGiven();
        Expectation check{.line = number};
        if (what == "instructions") {
            given.maxInstructions.Take("max instructions", number);
            check.kind = Expectation::Kind::kMaxInstructions;
            check.count =
                Decimal(rest, "max instructions: ", std::numeric_limits<std::int64_t>::max());
        } else if (what == "bytes") {
            given.maxBytes.Take("max bytes", number);
            check.kind = Expectation::Kind::kMaxBytes;
            check.count = Decimal(rest, "max bytes: ", cpu::kMemorySize);
        } else {
            throw LineError{"max: γράψτε max instructions N ή max bytes N"};
        }
        AddCheck(std::move(check));
    }

    // console "...", console contains "...", console starts "...".
    void ReadConsole(std::string_view rest, int number) {
        Expectation check{.kind = Expectation::Kind::kConsole, .line = number};
        std::string_view text = rest;
        const std::string word = Lower(NextWord(text));
        if (word == "contains") {
            check.kind = Expectation::Kind::kConsoleContains;
            rest = text;
        } else if (word == "starts") {
            check.kind = Expectation::Kind::kConsoleStarts;
            rest = text;
        }
        check.console = UnquotedConsoleText(rest);
        AddCheck(std::move(check));
    }

    void ReadInputs(std::string_view rest) {
        const std::vector<std::string_view> answers = Words(rest);
        if (answers.empty()) throw LineError{"input: λείπουν οι απαντήσεις (input 41 0A)"};
        for (std::string_view answer : answers) {
            HexNumber(answer, "input: ");
            Current().inputs.emplace_back(answer);
        }
    }

    void ReadPoke(std::string_view rest, int number) {
        auto [address, values] = Cells(rest, "poke: ");
        MachineSetting setting;
        setting.line = number;
        setting.isMemory = true;
        setting.address = address;
        setting.values = std::move(values);
        Current().settings.push_back(std::move(setting));
    }

    // "0400: 0C 0D": a hexadecimal text before a colon.
    static bool IsMemoryCheck(std::string_view statement) {
        const std::size_t colon = statement.find(':');
        return colon != std::string_view::npos && colon > 0 &&
               text::IsHexText(Trim(statement.substr(0, colon)));
    }

    void ReadMemoryCheck(std::string_view statement, int number) {
        // "AC: 0C" is meant for the register far more often than for the cell 00AC.
        const std::string_view name = Trim(statement.substr(0, statement.find(':')));
        if (FieldNamed(name)) {
            throw LineError{"το " + Quoted(name) + " μοιάζει με καταχωρητή ή bit: γράψτε " +
                            std::string(name) + "=… για αυτό ή 00" + std::string(name) +
                            ": … για το κελί μνήμης"};
        }
        auto [address, values] = Cells(statement, "");
        Expectation check{.kind = Expectation::Kind::kMemory, .line = number, .address = address};
        check.values = std::move(values);
        AddCheck(std::move(check));
    }

    Expectations Finish() {
        Expectations expectations;
        expectations.cases =
            cases.empty() ? std::vector<ExpectationCase>{std::move(shared)} : std::move(cases);
        return expectations;
    }
};

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
    };
    const unsigned char first = at(0);
    if (first < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0) low = 0xA0;   // overlong
        if (first == 0xED) high = 0x9F;  // surrogates
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0) low = 0x90;
        if (first == 0xF4) high = 0x8F;  // beyond 10FFFF
    } else {
        return 0;
    }
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!IsContinuation(at(k))) return 0;
    return length;
}

}  // namespace

int Expectations::TotalPoints() const {
    int total = 0;
    for (const ExpectationCase& c : cases) total += c.points;
    return total;
}

std::size_t Expectations::ConsoleBytesNeeded() const {
    // Enough to show the start of a console that no check names.
    std::size_t needed = 256;
    for (const ExpectationCase& c : cases) {
        for (const Expectation& check : c.checks) {
            if (check.kind == Expectation::Kind::kConsole ||
                check.kind == Expectation::Kind::kConsoleStarts)
                needed = std::max(needed, check.console.size() + 1);
        }
    }
    return needed;
}

std::variant<Expectations, ExpectationError> ReadExpectations(std::string_view utf8) {
    int faultLine = 0;
    if (const std::optional<std::string> fault = Utf8Fault(utf8, &faultLine)) {
        return ExpectationError{faultLine, *fault};
    }
    Reader reader;
    int number = 0;
    while (!utf8.empty() || number == 0) {
        ++number;
        const std::size_t newline = utf8.find('\n');
        std::string_view line = utf8.substr(0, newline);
        utf8.remove_prefix(newline == std::string_view::npos ? utf8.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        try {
            reader.Read(line, number);
        } catch (const LineError& error) {
            return ExpectationError{number, error.message};
        }
    }
    return reader.Finish();
}

bool LooksLikeUtf16(std::string_view bytes) {
    const auto byte = [&](std::size_t k) {
        return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0x100;
    };
    return (byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF) ||
           (bytes.size() >= 4 && byte(0) != 0 && byte(1) == 0 && byte(2) != 0 && byte(3) == 0) ||
           (bytes.size() >= 4 && byte(0) == 0 && byte(1) != 0 && byte(2) == 0 && byte(3) != 0);
}

std::optional<std::string> Utf8Fault(std::string_view bytes, int* line) {
    if (line != nullptr) *line = 1;
    if (LooksLikeUtf16(bytes)) {
        return std::string(
            "το αρχείο είναι σε κωδικοποίηση UTF-16 (το «Unicode» του Σημειωματαρίου)· "
            "αποθηκεύστε το ως UTF-8");
    }
    int number = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == '\n') ++number;
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            if (line != nullptr) *line = number;
            return "το κείμενο δεν είναι σε κωδικοποίηση UTF-8 (το byte " +
                   text::FormatHex2(static_cast<unsigned char>(bytes[i])) + ")";
        }
        i += length;
    }
    return std::nullopt;
}

std::string ExpectationErrorText(std::string_view fileName, const ExpectationError& error) {
    return std::string(fileName) + ", γραμμή " + std::to_string(error.line) + ": " + error.message;
}

std::string_view EndKeyword(cpu::RunEnd end) {
    switch (end) {
        case cpu::RunEnd::kEmptyCell:
            return "empty cell";
        case cpu::RunEnd::kStackFull:
            return "stack full";
        case cpu::RunEnd::kNotExecuted:
            return "not executed";
        case cpu::RunEnd::kLimit:
        case cpu::RunEnd::kRunning:
        case cpu::RunEnd::kStopped:
            break;
    }
    return "limit";
}

std::string_view EndInGreek(cpu::RunEnd end) {
    switch (end) {
        case cpu::RunEnd::kEmptyCell:
            return "κενό κελί";
        case cpu::RunEnd::kStackFull:
            return "μνήμη σωρού πλήρης";
        case cpu::RunEnd::kNotExecuted:
            return "εντολή που δεν εκτελείται";
        case cpu::RunEnd::kLimit:
        case cpu::RunEnd::kRunning:
        case cpu::RunEnd::kStopped:
            break;
    }
    return "όριο εντολών";
}

std::string QuotedConsoleText(std::string_view utf8) {
    std::string quoted = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            quoted += "\\x" + text::FormatHex2(byte);
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string VisibleText(std::string_view bytes) {
    std::string visible;
    visible.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            visible += "\\x" + text::FormatHex2(byte);
            ++i;
            continue;
        }
        visible.append(bytes.substr(i, length));
        i += length;
    }
    return visible;
}

std::string QuotedWord(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    const std::string visible = VisibleText(text);
    std::size_t characters = 0, cut = 0;
    for (; cut < visible.size(); ++cut) {
        if (IsContinuation(static_cast<unsigned char>(visible[cut]))) continue;
        if (++characters > kLongest) break;
    }
    return "«" + visible.substr(0, cut) + (cut < visible.size() ? "…»" : "»");
}

}  // namespace zorvan::app
