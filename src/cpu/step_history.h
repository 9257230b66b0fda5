#pragma once
// What one instruction changed, and the history that undoes instructions one by one.
//
//   StepHistory history;
//   history.Step(machine, host, &console);        // executes the instruction at PC and records it
//   StepChange last = *history.Last(machine);     // what it changed, old and new
//   history.Undo(machine, &console);              // the machine as it was before it
//
// The history keeps only the old values of what changed, packed into one byte stream, so that a
// million instructions fit in a few megabytes. A long run keeps even less as it goes
// (StepUnrecorded): the machine every few thousand instructions, from which the records are made,
// by running those instructions again, once something asks for them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cpu/address_set.h"
#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/slip_checks.h"

namespace zorvan::cpu {

namespace step_record {
struct CellsBefore;
struct ConsoleBefore;
}  // namespace step_record

// Bytes that grow without being zeroed: the history's log is written before it is read, and
// zeroing megabytes of it on every fresh run costs more than the run's first steps.
class GrowingBytes {
  public:
    GrowingBytes() = default;
    GrowingBytes(const GrowingBytes& other) { *this = other; }
    GrowingBytes& operator=(const GrowingBytes& other) {
        if (this == &other) return *this;
        bytes_ = other.size_ != 0 ? Uninitialized(other.size_) : nullptr;
        size_ = other.size_;
        if (size_ != 0) std::memcpy(bytes_.get(), other.bytes_.get(), size_);
        return *this;
    }
    GrowingBytes(GrowingBytes&& other) noexcept
        : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}
    GrowingBytes& operator=(GrowingBytes&& other) noexcept {
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }
    ~GrowingBytes() = default;

    std::uint8_t* Data() { return bytes_.get(); }
    const std::uint8_t* Data() const { return bytes_.get(); }
    std::size_t Size() const { return size_; }
    // To exactly size bytes, the first kept of them as they were.
    void Resize(std::size_t size, std::size_t kept) {
        auto bytes = Uninitialized(size);
        if (kept != 0) std::memcpy(bytes.get(), bytes_.get(), kept);
        bytes_ = std::move(bytes);
        size_ = size;
    }
    void Release() {
        bytes_.reset();
        size_ = 0;
    }

  private:
    // Not make_unique, which zeroes them (the web build's library has no
    // make_unique_for_overwrite).
    static std::unique_ptr<std::uint8_t[]> Uninitialized(std::size_t size) {
        return std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]);  // NOLINT(modernize-*)
    }

    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
};

// A console whose text the history reads and puts back: the console routines change it.
class RestorableConsole {
  public:
    virtual ~RestorableConsole() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    // The text's length, and what a bound on its lines dropped from its start between
    // KeepDropped() and TakeDropped(): a routine that appends a line is then recorded without a
    // copy of the whole text. Nothing is kept outside those calls, so that a run that prints for
    // ever without a history costs no memory for it.
    virtual std::size_t Size() const { return Text().size(); }
    virtual void KeepDropped() {}
    virtual std::string TakeDropped() { return {}; }
};

// Everything but memory.
struct RegisterState {
    std::int32_t PC = 0, AC = 0, XR = 0, YR = 0, SP = 0, returnAddress = 0;
    std::array<std::int32_t, kStatusBitCount> status{};
    bool halted = false;

    static RegisterState Of(const Machine& machine);
    void RestoreInto(Machine& machine) const;
    bool operator==(const RegisterState&) const = default;
};

struct CellChange {
    int address = 0;
    std::int16_t before = 0;
    std::int16_t after = 0;
};

// An instruction can change at most its operand cell (a branch's restored byte), its effective
// address and one stack cell.
inline constexpr int kMaxCellsChanged = 3;

struct StepChange {
    int address = 0;  // where the instruction stood: PC before it
    RegisterState before, after;
    std::array<CellChange, kMaxCellsChanged> cells{};
    int cellCount = 0;
    bool consoleChanged = false;
    // The console's last line after it, when the caller tells it.
    std::optional<std::string> consoleShows;

    // A cell as it was before the instruction, given the machine after it.
    std::int32_t CellBefore(const Machine& machineAfter, std::int64_t cell) const;
};

// Instructions that the step window showed as one step (a call stepped over).
struct StepGroup {
    std::size_t begin = 0, end = 0;  // positions, as Position() tells them
    int address = 0;                 // the first instruction's
    std::string sentence;            // what they did together
};

class StepHistory {
  public:
    // At least this many of the latest instructions can be undone, unless the console's texts
    // that they changed fill the history's budget of some 48 MB first.
    static constexpr std::size_t kDepth = 1'000'000;

    // Executes the instruction at PC as StepAt does and records what it changed. console may be
    // nullptr (no console text is kept then). Returns true when the instruction changed a cell
    // of watchedCells (nullptr watches none). slips, when given, hears of what it does.
    bool Step(Machine& machine, MachineHost& host, RestorableConsole* console,
              const AddressSet* watchedCells = nullptr, SlipChecks* slips = nullptr) {
        return StepDecoded(machine, host, console, watchedCells, slips,
                           Decode(machine.Read(machine.PC)));
    }
    // The same, for a caller that has decoded the opcode at PC already.
    bool StepDecoded(Machine& machine, MachineHost& host, RestorableConsole* console,
                     const AddressSet* watchedCells, SlipChecks* slips, DecodedOpcode decoded);

    // The same for a run that may go on for long: the instruction leaves no record yet, only
    // what running it again cannot tell (the console's old text). Records are made from the
    // machine as the run's stretch began, when Undo, Last, VisitLatest or a recorded Step first
    // need them. watchedCells nullptr watches none (an empty set must be passed as nullptr).
    bool StepUnrecorded(Machine& machine, MachineHost& host, RestorableConsole* console,
                        const AddressSet* watchedCells, SlipChecks* slips, DecodedOpcode decoded);
    // Or many such instructions at once, executed by a cpu::Run whose host is an
    // UnrecordedConsole: OpenStretch before each slice, with the machine as it stands (it returns
    // how many instructions the slice may execute), and AddUnrecorded with how many it did.
    std::size_t OpenStretch(const Machine& machine);
    void AddUnrecorded(std::size_t count);

    // Re-records the latest instruction against the machine as it is now, so that what changed
    // since it (an answer typed into the console for the question it asked) is undone with it.
    // left: the registers as the instruction left them.
    void AbsorbIntoLast(const Machine& machine, const RegisterState& left);

    // Undoes the latest recorded instruction, or the group it ends; false when there is none.
    bool Undo(Machine& machine, RestorableConsole* console);

    // The latest recorded instruction, old values from the record and new ones from the machine,
    // which must be as that instruction left it.
    std::optional<StepChange> Last(const Machine& machine) const;

    // The latest steps, newest first, at most count of them: each instruction, or each group as
    // one. visit gets the Position() just after the step, what it did (a group's last
    // instruction; with console, what the console's last line then was), its group or nullptr,
    // and the machine as the step left it.
    using PastStepVisitor = std::function<void(std::size_t position, const StepChange& change,
                                               const StepGroup* group, const Machine& after)>;
    void VisitLatest(const Machine& machine, const RestorableConsole* console, std::size_t count,
                     const PastStepVisitor& visit);

    // How many instructions were ever recorded and not undone: it stays as the oldest go.
    std::size_t Position() const { return dropped_ + count_ + unrecorded_; }
    // The instructions recorded since begin (a Position) undo as one from now on.
    void Group(std::size_t begin, int address, std::string sentence);
    // The group that the latest recorded instruction ends, or nullptr.
    const StepGroup* LastGroup() const;

    void Clear();
    // Clears the history and keeps why, for the Πίσω that reaches its start.
    void End(std::string reason);
    const std::string& EndedBecause() const { return endedBecause_; }
    // Goes up each time the history is cleared: positions from before are no longer its own.
    std::size_t Generation() const { return generation_; }
    bool Empty() const { return Size() == 0; }
    std::size_t Size() const { return count_ + unrecorded_; }
    std::size_t Bytes() const {
        return log_.Size() + stretches_.size() * sizeof(Machine) + stretchBytes_;
    }

  private:
    // Instructions a run executed without records, after the log's: the machine before the
    // first, how many, and the console's text before each of their console calls, in order.
    struct Stretch {
        std::shared_ptr<const Machine> start;  // never changed: copies of the history share it
        std::size_t length = 0;
        std::vector<std::uint8_t> consoles;
    };
    // A new stretch every so many instructions: Last and VisitLatest run at most one again.
    static constexpr std::size_t kStretchLength = 1 << 15;

    // Executes one instruction of the open stretch, keeping only its console's old text.
    void ExecuteUnrecorded(Machine& machine, MachineHost& host, RestorableConsole* console,
                           SlipChecks* slips, DecodedOpcode decoded);
    // Executes and records one instruction; console: its console's old text, or nullptr.
    bool Record(Machine& machine, MachineHost& host, DecodedOpcode decoded,
                const step_record::ConsoleBefore* console);
    // Runs the first count instructions of stretch again on machine, those from `from` on
    // recorded into `into` when it is given.
    static void Replay(const Stretch& stretch, Machine& machine, std::size_t from,
                       std::size_t count, StepHistory* into);
    // The console's text before the open stretch's next console call; nullptr: unchanged.
    void KeepConsole(const step_record::ConsoleBefore* old);
    friend class UnrecordedConsole;
    // Makes the records of every stretch, oldest first.
    void MakeRecords();
    // The newest stretch's instructions from position `from` on, as a history of its own, with
    // the groups within them.
    std::unique_ptr<StepHistory> LatestStretchRecorded(std::size_t from) const;
    void DropOldestStretch();

    // Appends one record: the old values of what changed, given the machine after it.
    bool Write(const RegisterState& before, const step_record::CellsBefore& cells,
               const step_record::ConsoleBefore* console, const Machine& machine,
               const AddressSet* watchedCells);
    void DropOldest();
    void UndoOne(Machine& machine, RestorableConsole* console);
    // Room for size more bytes.
    void Reserve(std::size_t size) {
        if (logSize_ + size > log_.Size()) Grow(size);
    }
    void Grow(std::size_t size);
    void Append(const void* bytes, std::size_t size);

    // Records back to back in the first logSize_ bytes, the rest room to grow into; each ends
    // with its mask and its length, so the latest is found from the end.
    GrowingBytes log_;
    std::size_t logSize_ = 0;
    std::size_t count_ = 0;
    std::string endedBecause_;
    std::size_t generation_ = 0;
    std::size_t dropped_ = 0;  // the oldest records that went
    std::size_t base_ = 0;     // and their bytes
    std::vector<StepGroup> groups_;
    // Where every kCheckpointEvery-th record begins (base_ counted in), so that the oldest can go
    // without a walk over the log. Undo leaves them right: a record undone is written again
    // where it began.
    static constexpr std::size_t kCheckpointEvery = 1 << 16;
    struct Checkpoint {
        std::size_t position, offset;
    };
    std::vector<Checkpoint> checkpoints_;
    std::deque<Stretch> stretches_;
    std::size_t unrecorded_ = 0;    // instructions in stretches_
    std::size_t stretchBytes_ = 0;  // and their console texts
    bool stretchOpen_ = false;      // the newest stretch takes the next unrecorded instruction
};

// The host of a run whose instructions a StepHistory keeps unrecorded (OpenStretch): it passes
// what the console routines do on to host, and keeps the console's text before each call for the
// history.
class UnrecordedConsole final : public MachineHost {
  public:
    UnrecordedConsole(StepHistory& history, const Machine& machine, MachineHost& host,
                      RestorableConsole* console)
        : history_(history), machine_(machine), host_(host), console_(console) {}

    void ShowCharacter(int ac) override;
    void AskForAccumulator() override;
    void ClearConsole() override;
    void PrintText(std::string_view cp1253Bytes) override;
    // Every call leaves its entry, so the text is always read; host may still not want it.
    bool WantsPrintedText() const override { return true; }
    void StackFull() override { host_.StackFull(); }
    // The first console routine called whose cell held no RTS, or -1: the run went on there.
    int RoutineWithoutRts() const { return routineWithoutRts_; }

  private:
    template <typename Call>
    void Watched(int routine, Call call);

    StepHistory& history_;
    const Machine& machine_;
    MachineHost& host_;
    RestorableConsole* console_;
    int routineWithoutRts_ = -1;
};

}  // namespace zorvan::cpu
