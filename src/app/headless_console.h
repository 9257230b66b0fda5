#pragma once
// The console's text, without a window: the character a value stands for, the answer typed
// into the console's field, and the window's whole text as a run leaves it.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "cpu/machine.h"
#include "cpu/machine_host.h"

namespace zorvan::app {

inline constexpr std::string_view kAskForAccumulatorText = "Δώσε τον AC";

// The Windows-1253 character of the value's low byte as UTF-8: "" for 0, U+FFFD for the bytes
// the code page leaves undefined.
std::string ConsoleCharacter(std::int64_t value);

// Enter in the field: a non-empty hexadecimal text sets AC and gives the line "AC:" and AC's
// character to add; anything else changes nothing. Throws ConversionError for a hexadecimal
// text too long for 32 bits.
std::optional<std::string> EnterAccumulator(cpu::Machine& machine, std::string_view text);

// The console's characters as its window shows them, for a plain-text terminal: 00 and 0C show
// nothing, a tab stays a tab, 0D (and 0D 0A) break the line as 0A does, and every other control
// character shows as the empty box "▯" that the window's font draws for it.
std::string ConsoleShownText(std::string_view utf8);

// The console keeps only its latest lines: a program printing in an endless loop must cost the
// same per line, in time and memory, however long it runs.
inline constexpr std::size_t kConsoleLines = 10'000;

// The console's text as the window holds it ("\n" between lines), bounded to its last
// kConsoleLines lines. Appending drops the oldest lines in batches, so that each line costs the
// same; what was dropped while the step history asked for it is kept until it takes it.
class ConsoleText {
  public:
    const std::string& Text() const { return text_; }
    // The lines kept: the last kConsoleLines of them, as the window shows them.
    std::string_view Shown() const;
    void Replace(std::string_view text);
    // A new last line (no line break before the first line of an empty text).
    void AppendLine(std::string_view line);
    // Starts keeping what Bound drops, afresh.
    void KeepDropped() {
        dropped_.clear();
        keepDropped_ = true;
    }
    std::string TakeDropped() {
        keepDropped_ = false;
        return std::exchange(dropped_, {});
    }

  private:
    void Bound();

    std::string text_;
    std::size_t breaks_ = 0;  // line breaks in text_
    std::string dropped_;
    bool keepDropped_ = false;
};

// The console window's whole text, kept headless by the window's own rules: a character or the
// question replaces everything, clearing empties it, a printed text or an answer becomes a new
// last line (the first one of an empty console has no line break before it). Line breaks are
// "\n", a carriage return included, as the window's plain text holds them. The user answers each
// question at once with the next of the answers (hexadecimal texts typed into the field and
// entered); once they run out, questions go unanswered.
class HeadlessConsole final : public cpu::MachineHost {
  public:
    HeadlessConsole(cpu::Machine& machine, std::deque<std::string> answers)
        : machine_(machine), answers_(std::move(answers)) {}

    std::string Text() const { return std::string(text_.Shown()); }
    bool StackFullShown() const { return stackFull_; }

    void ShowCharacter(int ac) override;
    void AskForAccumulator() override;
    void ClearConsole() override;
    void PrintText(std::string_view cp1253Bytes) override;
    void StackFull() override { stackFull_ = true; }

  private:
    cpu::Machine& machine_;
    std::deque<std::string> answers_;
    ConsoleText text_;
    bool stackFull_ = false;
};

}  // namespace zorvan::app
