#pragma once
// The slips a student's program makes without ending the run: a JSR that overwrites the single
// return address, an RTS with no JSR before it, PC leaving the program for a cell nobody wrote, a
// read of a cell nobody wrote, and a subroutine that returns with SP moved. The interpreter tells
// a SlipChecks what it does (see TrackedCore in execution.h) only in the runs that watch for
// them, so that a plain run pays nothing:
//
//   SlipChecks& slips = workspace.slips;
//   slips.BeginRun(program, /*newCalls=*/true);
//   Run run(machine, host, 0x0200);
//   run.WatchSlips(&slips);
//   ...
//   for (const Slip& slip : slips.Found()) notice += SlipNotice(slip, lineOf(slip.at));
//
// Which cells were written: memory starts as zeros and only writes change it, so a cell that holds
// anything but 0 was written. The set therefore needs only the cells written with 0: a run marks
// them, and so do the assembled bytes and the student's own edits (which are marked whatever they
// hold). A cell that holds 0 and is not in the set was never written.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cpu/address_set.h"
#include "cpu/machine.h"

namespace zorvan::cpu {

enum class SlipKind : std::uint8_t {
    kNestedJsr,      // a JSR while a subroutine has not returned: its return address is lost
    kRtsWithoutJsr,  // an RTS with no JSR waiting for it
    kLeftProgram,    // the run ended on an empty cell outside the program that nobody wrote
    kUnwrittenRead,  // an instruction read a cell that nobody wrote
    kStackMoved,     // an RTS with SP other than at its JSR
};
inline constexpr int kSlipKindCount = 5;

struct Slip {
    SlipKind kind = SlipKind::kNestedJsr;
    int at = 0;  // the instruction; for kLeftProgram the cell PC went to
    // kNestedJsr: the return address lost; kRtsWithoutJsr: where it returns; kUnwrittenRead: the
    // cell read; kStackMoved: SP at the JSR.
    int cell = 0;
    int sp = 0;  // kStackMoved: SP at the RTS
    bool operator==(const Slip&) const = default;
};

// The notice of a slip; line is the program line of slip.at, or 0 for none.
std::string SlipNotice(const Slip& slip, int line);

class SlipChecks {
  public:
    // Which checks tell their slips; all on at first. A check switched off still follows the
    // machine, so that switching it on again finds it right.
    std::array<bool, kSlipKindCount> on{true, true, true, true, true};
    bool AnyOn() const;

    // A run (or one step) begins: every check may tell its slip once more. program: the program's
    // own bytes, written by the assembly (marked written). newCalls: a run from a start address,
    // with no subroutine called yet (a step window's later runs go on with the calls of its first).
    void BeginRun(const AddressSet& program, bool newCalls);
    // The slips met since BeginRun, the first of each kind only, in the order met.
    const std::vector<Slip>& Found() const { return found_; }

    // The student wrote the cell (memory window); any value.
    void MarkWritten(std::int64_t address) { written_.Add(address); }
    // Clear memory: every cell is 0 again and none was written.
    void ForgetWritten() { written_.Clear(); }
    bool NeverWritten(const Machine& machine, std::int64_t address) const {
        return Machine::IsAddress(address) && machine.Read(address) == 0 &&
               !written_.ContainsInMemory(address);
    }
    // A run that executed something ended before the empty cell at address: a slip when the cell
    // before it was not written either (the program's own end follows its last written byte).
    void EndedAt(const Machine& machine, std::int64_t address);

    // A recorded step at position of the history whose Generation() is generation: the calls it
    // makes or returns from can be stepped back over (Rewind).
    // Inline: every recorded step tells it.
    void Recording(std::size_t position, std::size_t generation) {
        if (generation != generation_) NewGeneration(generation);
        position_ = position;
        recording_ = true;
    }
    // A run whose instruction n (as the run counts them) is recorded at position first + n:
    // the run tells AtInstruction(n) before each JSR and RTS.
    void RecordingFrom(std::size_t first, std::size_t generation) {
        Recording(first, generation);
        first_ = first;
    }
    void AtInstruction(std::int64_t n) { position_ = first_ + static_cast<std::size_t>(n); }
    // After Πίσω: the calls as they were before the steps from position on.
    void Rewind(std::size_t position, std::size_t generation);

    // What the interpreter tells, in a run that watches. at: the instruction.
    // Inline, and the calls kept in a ring rather than a vector: a run with the checks on stays
    // within a few per cent of one without.
    void ReadZero(std::int64_t at, std::int64_t address) {
        if (!written_.ContainsInMemory(address) && !Told(SlipKind::kUnwrittenRead))
            UnwrittenRead(at, address);
    }
    void WroteZero(std::int64_t address) { written_.Add(address); }
    // Before a JSR sets the return address, and before an RTS follows it. kMayRecord false: a run
    // that is not recorded (it began with BeginRun), whose calls need no test for the log.
    template <bool kMayRecord = true>
    void Called(std::int64_t at, std::int32_t sp, std::int32_t returnAddress) {
        if (depth_ != 0) Tell({SlipKind::kNestedJsr, static_cast<int>(at), returnAddress, 0});
        calls_[depth_ % kMaxCalls] = {static_cast<int>(at), sp};
        ++depth_;
        if (kMayRecord && recording_) Log({-1, 0});
    }
    template <bool kMayRecord = true>
    void Returned(std::int64_t at, std::int32_t sp, std::int32_t returnAddress) {
        if (depth_ == 0) {
            Tell({SlipKind::kRtsWithoutJsr, static_cast<int>(at), returnAddress, 0});
            return;
        }
        --depth_;
        const Call call = calls_[depth_ % kMaxCalls];
        if (call.sp != sp) Tell({SlipKind::kStackMoved, static_cast<int>(at), call.sp, sp});
        if (kMayRecord && recording_) Log(call);
    }

  private:
    struct Call {
        int at = 0;
        std::int32_t sp = 0;
    };
    // Deeper than any program of single-return-address calls goes on purpose: a JSR that calls
    // itself for ever keeps only the latest calls.
    static constexpr std::size_t kMaxCalls = 256;
    // A change of calls_ that Πίσω may take back: a JSR pushed (popped.at -1), or an RTS popped
    // `popped`.
    struct CallEvent {
        std::uint64_t position = 0;
        Call popped;
    };

    bool Told(SlipKind kind) const { return told_[static_cast<std::size_t>(kind)]; }
    void Tell(const Slip& slip);
    void UnwrittenRead(std::int64_t at, std::int64_t address);
    void Log(const Call& popped);
    void NewGeneration(std::size_t generation);

    AddressSet written_;
    std::array<Call, kMaxCalls> calls_{};
    std::size_t depth_ = 0;  // calls not returned from; the latest kMaxCalls of them are kept
    std::vector<Slip> found_;
    std::array<bool, kSlipKindCount> told_{};
    std::vector<CallEvent> events_;
    std::size_t generation_ = 0;
    std::size_t position_ = 0;
    std::size_t first_ = 0;
    bool recording_ = false;
};

}  // namespace zorvan::cpu
