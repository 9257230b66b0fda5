#include "app/expectations.h"

#include <array>
#include <cctype>
#include <charconv>
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
    return "«" + std::string(text) + "»";
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
        } else if (!quoted && line[i] == '#') {
            return line.substr(0, i);
        }
    }
    return line;
}

std::int32_t HexNumber(std::string_view text, std::string_view what) {
    if (text.empty() || !text::IsHexText(text)) {
        throw LineError{std::string(what) + Quoted(text) + " δεν είναι δεκαεξαδικός αριθμός"};
    }
    const std::optional<std::int32_t> value = text::ParseHex(text);
    if (!value) {
        // Hexadecimal digits, too many of them: the message the conversion gives.
        throw LineError{std::string(what) + text::NotHexMessage(text)};
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
        if (name.empty() || text.empty() || text.front() != '=') {
            throw LineError{std::string(what) + "λείπει το «=» μετά το " +
                            Quoted(name.empty() ? std::string_view("=") : name)};
        }
        const std::optional<MachineField> field = FieldNamed(name);
        if (!field) {
            throw LineError{std::string(what) + "άγνωστος καταχωρητής ή bit κατάστασης " +
                            Quoted(name) + " (καταχωρητές: AC XR YR SP PC RA, bit: N V B D I Z C)"};
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

constexpr std::string_view kConsoleWhat = "console: ";

// The escape after the backslash at text[i], undone onto console; i is left on its last character.
void UndoEscape(std::string_view text, std::size_t& i, std::string& console) {
    if (++i >= text.size()) {
        throw LineError{std::string(kConsoleWhat) + "τα εισαγωγικά δεν κλείνουν"};
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
                throw LineError{std::string(kConsoleWhat) +
                                "μετά το «\\x» ακολουθούν δύο δεκαεξαδικά ψηφία"};
            }
            // The console's character of that byte, as a program's cell would give it: 00 gives
            // none, and 0D breaks the line as in the window.
            console += *byte == 0x0D ? std::string("\n") : ConsoleCharacter(*byte);
            i += 2;
            return;
        }
        default:
            throw LineError{std::string(kConsoleWhat) + "άγνωστη ακολουθία " +
                            Quoted(text.substr(i - 1, 2)) +
                            " (γράψτε \\n, \\t, \\\", \\\\ ή \\xHH)"};
    }
}

// The console statement's text between its double quotes, its escapes undone; nothing may follow
// the closing quote.
std::string UnquotedConsoleText(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '"') {
        throw LineError{std::string(kConsoleWhat) + "το κείμενο γράφεται σε διπλά εισαγωγικά"};
    }
    std::string console;
    std::size_t i = 1;
    for (;; ++i) {
        if (i >= text.size()) {
            throw LineError{std::string(kConsoleWhat) + "τα εισαγωγικά δεν κλείνουν"};
        }
        const char c = text[i];
        if (c == '"') break;
        if (const auto byte = static_cast<unsigned char>(c);
            (byte < 0x20 && c != '\t') || byte == 0x7F) {
            throw LineError{std::string(kConsoleWhat) + "ο χαρακτήρας ελέγχου " +
                            text::FormatHex2(byte) + " γράφεται \\x" + text::FormatHex2(byte)};
        }
        if (c == '\\') {
            UndoEscape(text, i, console);
        } else {
            console.push_back(c);
        }
    }
    const std::string_view rest = Trim(text.substr(i + 1));
    if (!rest.empty()) {
        throw LineError{std::string(kConsoleWhat) + "περισσεύει το " + Quoted(rest) +
                        " μετά τα εισαγωγικά"};
    }
    return console;
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

std::int64_t Limit(std::string_view text) {
    const std::vector<std::string_view> words = Words(text);
    std::int64_t value = -1;
    if (words.size() == 1) {
        const std::string_view word = words.front();
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size()) value = -1;
    }
    if (value < 0) {
        throw LineError{"limit: " + Quoted(Trim(text)) +
                        " δεν είναι μη αρνητικός δεκαδικός αριθμός"};
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

struct Reader {
    Expectations expectations;
    Once from, limit, end;

    void Read(std::string_view line, int number) {
        std::string_view rest = Trim(WithoutComment(line));
        if (rest.empty()) return;
        const std::string_view statement = rest;
        const std::string keyword = Lower(NextWord(rest));
        if (keyword == "from") {
            from.Take(keyword, number);
            expectations.from = Address(OnlyWord(rest, "from: "), "from: ");
        } else if (keyword == "limit") {
            limit.Take(keyword, number);
            expectations.limit = Limit(rest);
        } else if (keyword == "input") {
            ReadInputs(rest);
        } else if (keyword == "poke") {
            ReadPoke(rest, number);
        } else if (keyword == "set") {
            for (const auto& [field, value] : Assignments(rest, "set: "))
                expectations.settings.push_back(MachineSetting{number, false, field, 0, {value}});
        } else if (keyword == "end") {
            end.Take(keyword, number);
            Expectation check{.line = number, .end = EndNamed(rest)};
            expectations.checks.push_back(std::move(check));
            expectations.endStated = true;
        } else if (keyword == "console") {
            Expectation check{.kind = Expectation::Kind::kConsole, .line = number};
            check.console = UnquotedConsoleText(rest);
            expectations.checks.push_back(std::move(check));
        } else if (IsMemoryCheck(statement)) {
            ReadMemoryCheck(statement, number);
        } else if (statement.find('=') != std::string_view::npos) {
            for (const auto& [field, value] : Assignments(statement, "")) {
                expectations.checks.push_back(Expectation{.kind = Expectation::Kind::kField,
                                                          .line = number,
                                                          .field = field,
                                                          .values = {value}});
            }
        } else {
            throw LineError{"άγνωστη δήλωση " + Quoted(Trim(statement)) +
                            " (from, limit, input, poke, set, end, console, AC=05, 0300: 05)"};
        }
    }

    void ReadInputs(std::string_view rest) {
        const std::vector<std::string_view> answers = Words(rest);
        if (answers.empty()) throw LineError{"input: λείπουν οι απαντήσεις (input 41 0A)"};
        for (std::string_view answer : answers) {
            HexNumber(answer, "input: ");
            expectations.inputs.emplace_back(answer);
        }
    }

    void ReadPoke(std::string_view rest, int number) {
        auto [address, values] = Cells(rest, "poke: ");
        MachineSetting setting;
        setting.line = number;
        setting.isMemory = true;
        setting.address = address;
        setting.values = std::move(values);
        expectations.settings.push_back(std::move(setting));
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
        expectations.checks.push_back(std::move(check));
    }
};

}  // namespace

std::variant<Expectations, ExpectationError> ReadExpectations(std::string_view utf8) {
    Reader reader;
    int number = 0;
    while (!utf8.empty() || number == 0) {
        ++number;
        const std::size_t newline = utf8.find('\n');
        std::string_view line = utf8.substr(0, newline);
        utf8.remove_prefix(newline == std::string_view::npos ? utf8.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        if (text::FromCharacters(text::ToCharacters(line)) != line) {
            return ExpectationError{number, "το κείμενο δεν είναι σε κωδικοποίηση UTF-8"};
        }
        try {
            reader.Read(line, number);
        } catch (const LineError& error) {
            return ExpectationError{number, error.message};
        }
    }
    return std::move(reader.expectations);
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

}  // namespace zorvan::app
