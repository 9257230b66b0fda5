#include "cpu/slip_checks.h"

#include <algorithm>

#include "cpu/interpreter.h"
#include "text/hex_text.h"

namespace zorvan::cpu {
namespace {

// The calls Πίσω can take back; older ones go, half at a time.
constexpr std::size_t kMaxEvents = std::size_t{1} << 18;

// " (γραμμή 7, 0210)", or " (0210)" off the program's lines.
std::string Where(int at, int line) {
    const std::string address = text::FormatHex4(at);
    return line != 0 ? " (γραμμή " + std::to_string(line) + ", " + address + ")"
                     : " (" + address + ")";
}

}  // namespace

std::string SlipNotice(const Slip& slip, int line) {
    const std::string where = Where(slip.at, line);
    switch (slip.kind) {
        case SlipKind::kNestedJsr:
            return "Προσοχή: JSR μέσα σε υπορουτίνα" + where + ": η διεύθυνση επιστροφής " +
                   text::FormatHex4(slip.cell) + " χάθηκε.";
        case SlipKind::kRtsWithoutJsr:
            return "Προσοχή: RTS χωρίς JSR πριν από αυτό" + where + ": επιστρέφει στη " +
                   text::FormatHex4(slip.cell) + ".";
        case SlipKind::kLeftProgram:
            return "Προσοχή: το PC βγήκε από το πρόγραμμα στο κελί " + text::FormatHex4(slip.at) +
                   ", που δεν γράφτηκε ποτέ.";
        case SlipKind::kUnwrittenRead:
            return "Προσοχή: η εντολή" + where + " διάβασε το κελί " + text::FormatHex4(slip.cell) +
                   ", που δεν γράφτηκε ποτέ.";
        case SlipKind::kStackMoved:
            return "Προσοχή: RTS" + where + " με SP = " + text::FormatHex2(slip.sp) +
                   ", ενώ στο JSR ήταν " + text::FormatHex2(slip.cell) +
                   ": η υπορουτίνα δεν άφησε τον σωρό όπως τον βρήκε.";
    }
    return {};
}

bool SlipChecks::AnyOn() const {
    return std::find(on.begin(), on.end(), true) != on.end();
}

void SlipChecks::BeginRun(const AddressSet& program, bool newCalls) {
    found_.clear();
    told_ = {};
    written_.Merge(program);
    recording_ = false;
    if (newCalls) {
        depth_ = 0;
        events_.clear();
    }
}

void SlipChecks::Tell(const Slip& slip) {
    const auto kind = static_cast<std::size_t>(slip.kind);
    if (!on[kind] || told_[kind]) return;
    told_[kind] = true;
    found_.push_back(slip);
}

void SlipChecks::UnwrittenRead(std::int64_t at, std::int64_t address) {
    Tell({SlipKind::kUnwrittenRead, static_cast<int>(at), static_cast<int>(address), 0});
}

void SlipChecks::EndedAt(const Machine& machine, std::int64_t address) {
    // Just past written cells is where a program ends, reached in order; a console routine with no
    // RTS in its cell has a notice of its own.
    if (!NeverWritten(machine, address) || !NeverWritten(machine, address - 1) ||
        IsConsoleRoutine(address))
        return;
    Tell({SlipKind::kLeftProgram, static_cast<int>(address), 0, 0});
}

void SlipChecks::NewGeneration(std::size_t generation) {
    // The history ended: nothing before can be stepped back over.
    events_.clear();
    generation_ = generation;
}

void SlipChecks::Log(const Call& popped) {
    if (!recording_) return;
    // Steps undone and not rewound (the history ended under them) are no longer the past.
    while (!events_.empty() && events_.back().position >= position_) events_.pop_back();
    if (events_.size() >= kMaxEvents)
        events_.erase(events_.begin(), events_.begin() + kMaxEvents / 2);
    events_.push_back({position_, popped});
}

void SlipChecks::Rewind(std::size_t position, std::size_t generation) {
    if (generation != generation_) {
        events_.clear();
        return;
    }
    while (!events_.empty() && events_.back().position >= position) {
        const CallEvent& event = events_.back();
        if (event.popped.at < 0) {
            if (depth_ != 0) --depth_;
        } else {
            calls_[depth_ % kMaxCalls] = event.popped;
            ++depth_;
        }
        events_.pop_back();
    }
}

}  // namespace zorvan::cpu
