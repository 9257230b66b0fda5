#include "app/headless_console.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "text/characters.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

namespace zorvan::app {

namespace {

// A carriage return, alone or before a line feed, is one line break in the window.
// A plain loop: a search through the C library costs more than the one or two characters that
// a program prints at a time.
bool HasCarriageReturn(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == '\r'; });
}

std::string WindowLineBreaks(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r') {
            text.push_back(utf8[i]);
            continue;
        }
        text.push_back('\n');
        if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    }
    return text;
}

}  // namespace

std::string ConsoleCharacter(std::int64_t value) {
    const auto byte = static_cast<std::uint8_t>(value & 0xFF);
    std::string character;
    if (byte != 0)
        text::AppendCharacter(character, text::Cp1253ToUnicode(byte).value_or(U'\uFFFD'));
    return character;
}

std::optional<std::string> EnterAccumulator(cpu::Machine& machine, std::string_view text) {
    if (text.empty() || !text::IsHexText(text)) return std::nullopt;
    machine.AC = text::HexTextToInt(text);
    return "AC:" + ConsoleCharacter(machine.AC);
}

std::string ConsoleShownText(std::string_view utf8) {
    const std::string lines = WindowLineBreaks(utf8);
    std::string shown;
    shown.reserve(lines.size());
    for (const char c : lines) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0x00 || byte == 0x0C) continue;
        if ((byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7F) {
            shown += "\u25AF";
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

std::string_view ConsoleText::Shown() const {
    std::string_view shown(text_);
    for (std::size_t extra = breaks_ >= kConsoleLines ? breaks_ - kConsoleLines + 1 : 0; extra > 0;
         --extra)
        shown.remove_prefix(shown.find('\n') + 1);
    return shown;
}

void ConsoleText::Replace(std::string_view text) {
    // A replaced text is the step history's to copy, not a dropped front. Most are one character,
    // a program's output in a loop: taken as they are when there is no line break to change.
    if (!HasCarriageReturn(text)) {
        text_.assign(text);
    } else {
        text_ = WindowLineBreaks(text);
    }
    breaks_ = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n'));
    Bound();
}

void ConsoleText::AppendLine(std::string_view line) {
    if (!text_.empty()) {
        text_.push_back('\n');
        ++breaks_;
    }
    const std::size_t start = text_.size();
    if (!HasCarriageReturn(line)) {
        text_ += line;
    } else {
        text_ += WindowLineBreaks(line);
    }
    breaks_ += static_cast<std::size_t>(
        std::count(text_.begin() + static_cast<std::ptrdiff_t>(start), text_.end(), '\n'));
    Bound();
}

void ConsoleText::Bound() {
    // A quarter more lines than are shown before the oldest go, so that they go seldom.
    if (breaks_ < kConsoleLines + kConsoleLines / 4) return;
    std::size_t cut = 0;
    for (; breaks_ >= kConsoleLines; --breaks_) cut = text_.find('\n', cut) + 1;
    if (keepDropped_) dropped_.append(text_, 0, cut);
    text_.erase(0, cut);
}

void HeadlessConsole::ShowCharacter(int ac) {
    text_.Replace(ConsoleCharacter(ac));
}

void HeadlessConsole::AskForAccumulator() {
    text_.Replace(kAskForAccumulatorText);
    if (answers_.empty()) return;
    const std::string answer = std::move(answers_.front());
    answers_.pop_front();
    if (const auto line = EnterAccumulator(machine_, answer)) text_.AppendLine(*line);
}

void HeadlessConsole::ClearConsole() {
    text_.Replace("");
}

void HeadlessConsole::PrintText(std::string_view cp1253Bytes) {
    text_.AppendLine(text::DecodeCp1253(cp1253Bytes, U'\uFFFD'));
}

}  // namespace zorvan::app
