#pragma once
// What the step history's files share: the cells and the console text an instruction may change,
// and the instruction executed as a single step executes it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "cpu/execution.h"
#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/step_history.h"

namespace zorvan::cpu::step_record {

// The log's size past which the oldest records go whatever their number: the console's texts,
// which a record keeps whole when a routine clears the console, can be long.
inline constexpr std::size_t kByteBudget = std::size_t{48} << 20;

// Every cell an instruction may write, with its value before it.
struct CellsBefore {
    std::array<std::int64_t, kMaxCellsChanged> addresses{};
    std::array<std::int16_t, kMaxCellsChanged> old{};
    int count = 0;

    void Consider(const Machine& m, std::int64_t address) {
        if (!Machine::IsAddress(address)) return;
        for (int i = 0; i < count; ++i) {
            if (addresses[i] == address) return;
        }
        addresses[count] = address;
        old[count] = m.memory[static_cast<std::size_t>(address)];
        ++count;
    }
};

// The operand cell (restored after any instruction), the effective address, and a push's stack
// cell.
ZORVAN_HOT CellsBefore CellsTheStepMayWrite(const Machine& m, const DecodedOpcode& d,
                                            std::int64_t a) {
    CellsBefore cells;
    cells.Consider(m, a + 1);
    if (!d.executed) return cells;
    cells.Consider(m, detail::OperandAddress(d.mode, a, m.XR, m.YR, [&m](std::int64_t address) {
                       return std::int64_t{m.Read(address)};
                   }));
    if (d.operation == Operation::kPha || d.operation == Operation::kPhp)
        cells.Consider(m, kStackPage + std::int64_t{m.SP});
    return cells;
}

// The instruction at a, as StepAt executes it, on one core for the whole step.
template <typename CoreType>
ZORVAN_HOT void ExecuteStep(CoreType core, Machine& m, const DecodedOpcode& d, std::int64_t a) {
    const bool hasOperand = Machine::IsAddress(a + 1);
    std::int16_t* const operand = hasOperand ? &m.memory[static_cast<std::size_t>(a) + 1] : nullptr;
    if (operand != nullptr && d.signedOperand) detail::PresentSigned(*operand);
    int next = static_cast<int>(a);
    if (d.executed) {
        next = detail::Execute(core, d.operation, d.mode, static_cast<int>(a));
        core.Store();
    }
    if (operand != nullptr) detail::RestoreOperand(*operand);
    m.PC = next;
}

// The console routine the instruction calls, or -1.
inline std::int64_t ConsoleRoutineCalled(const Machine& m, const DecodedOpcode& d, std::int64_t a) {
    if (!d.executed || d.operation != Operation::kJsr) return -1;
    const std::int64_t target = std::int64_t{m.Read(a + 2)} * 256 + m.Read(a + 1);
    return IsConsoleRoutine(target) ? target : -1;
}

// The console's text before an instruction, given the text after it: the text's first kept
// bytes, after front (what a bound on its lines dropped), and before tail.
struct ConsoleBefore {
    std::size_t kept = 0;
    std::string front, tail;
};

// What the console routine the instruction calls is about to change: an append is followed by
// its length alone, anything else by a copy of the text.
class ConsoleWatch {
  public:
    ConsoleWatch(RestorableConsole* console, bool appends) : console_(console), appends_(appends) {
        if (console_ == nullptr) return;
        console_->KeepDropped();
        if (appends_) {
            sizeBefore_ = console_->Size();
        } else {
            textBefore_ = console_->Text();
        }
    }
    // False when the routine left the text as it was.
    bool Changed(ConsoleBefore& old) {
        if (console_ == nullptr) return false;
        std::string dropped = console_->TakeDropped();
        if (appends_) {
            // Moved, not copied: a bound that drops its oldest lines drops thousands at once.
            if (dropped.size() > sizeBefore_) dropped.resize(sizeBefore_);
            old.front = std::move(dropped);
            old.kept = sizeBefore_ - old.front.size();
            return !old.front.empty() || console_->Size() != sizeBefore_;
        }
        const std::string now = console_->Text();
        old.kept = static_cast<std::size_t>(
            std::mismatch(textBefore_.begin(), textBefore_.end(), now.begin(), now.end()).first -
            textBefore_.begin());
        if (old.kept == textBefore_.size() && old.kept == now.size()) return false;
        old.tail = textBefore_.substr(old.kept);
        return true;
    }

  private:
    RestorableConsole* console_;
    bool appends_;
    std::size_t sizeBefore_ = 0;
    std::string textBefore_;
};

}  // namespace zorvan::cpu::step_record
