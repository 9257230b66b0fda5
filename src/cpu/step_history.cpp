#include "cpu/step_history.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "cpu/execution.h"
#include "cpu/interpreter.h"
#include "cpu/run_loop.h"
#include "cpu/step_record.h"

namespace zorvan::cpu {
namespace {

// What both of the history's files share.
using namespace step_record;  // NOLINT(google-build-using-namespace)

// Which old values a record holds. PC is always there.
enum RecordField : std::uint16_t {
    kFieldAC = 1 << 0,
    kFieldXR = 1 << 1,
    kFieldYR = 1 << 2,
    kFieldSP = 1 << 3,
    kFieldReturn = 1 << 4,
    kFieldStatusByte = 1 << 5,  // all eight bits 0 or 1 before: one byte
    kFieldStatusWide = 1 << 6,  // any other value: eight ints
    kFieldWasHalted = 1 << 7,   // the halt flag was set before (it is kept, not toggled: a run
                                // may clear it between two records)
    kFieldCells = 1 << 8,
    kFieldConsole = 1 << 9,
    kFieldConsoleFront = 1 << 10,  // the console's lines that a bound dropped, before its tail
};

// Mask (2 bytes) and the record's whole length (4 bytes) close every record.
constexpr std::size_t kTrailerSize = 6;
// A first reserve for a run of the step window: no copying for the first few hundred thousand
// instructions.
constexpr std::size_t kFirstReserve = std::size_t{4} << 20;
// PC, four registers and the return address, eight wide bits, three cells, the console's two
// counts, and the trailer: the most a record holds besides the console's text.
constexpr std::size_t kMaxRecordSize = 4 * 6 + 4 * kStatusBitCount + 1 + 3 * 4 + 12 + kTrailerSize;

// Writes the fields of one record, oldest field first, into room the log has made.
class RecordWriter {
  public:
    explicit RecordWriter(std::uint8_t* at) : at_(at) {}
    template <typename T>
    void Put(const T value) {
        std::memcpy(at_ + used_, &value, sizeof value);
        used_ += sizeof value;
    }
    // The value is written either way and kept only when `keep`: no branch, whose outcome
    // changes from one instruction to the next, for the registers each record may hold.
    template <typename T>
    void PutIf(bool keep, const T value) {
        std::memcpy(at_ + used_, &value, sizeof value);
        used_ += keep ? sizeof value : 0;
    }
    std::size_t Used() const { return used_; }

  private:
    std::uint8_t* at_;
    std::size_t used_ = 0;
};

// An empty statement that takes the value in a register and gives it back, as far as the
// optimiser knows changed: the loads before it cannot be merged with the loads after it. Where
// inline assembly is not to be had (the browser's build) there are no such stalls to avoid.
inline void KeepScalar(std::uint32_t& value) {
#if defined(__GNUC__) && !defined(__EMSCRIPTEN__)
    asm("" : "+r"(value));
#else
    (void)value;
#endif
}

// PC always, then the old value of each register that changed; returns their mask bits.
std::uint16_t PutRegisters(RecordWriter& record, const RegisterState& before, const Machine& m) {
    record.Put(before.PC);
    const bool ac = m.AC != before.AC, xr = m.XR != before.XR, yr = m.YR != before.YR,
               sp = m.SP != before.SP, ret = m.returnAddress != before.returnAddress;
    record.PutIf(ac, before.AC);
    record.PutIf(xr, before.XR);
    record.PutIf(yr, before.YR);
    record.PutIf(sp, before.SP);
    record.PutIf(ret, before.returnAddress);
    auto mask =
        static_cast<std::uint16_t>((ac ? kFieldAC : 0) | (xr ? kFieldXR : 0) | (yr ? kFieldYR : 0) |
                                   (sp ? kFieldSP : 0) | (ret ? kFieldReturn : 0));
    // Bit by bit: the bits were just stored one by one, and one wide load of them all would wait
    // some fifteen cycles for those stores to land; the optimiser merges the loads into vector
    // loads unless each step's result is kept opaque to it. No early exit: a branch per bit
    // costs more than the compares.
    std::uint32_t changedBits = 0, anyBits = 0;
    for (int k = 0; k < kStatusBitCount; ++k) {
        changedBits |= static_cast<std::uint32_t>(m.status[k] ^ before.status[k]);
        KeepScalar(changedBits);
        anyBits |= static_cast<std::uint32_t>(before.status[k]);
    }
    if (changedBits != 0) {
        // Every bit 0 or 1 exactly when their unsigned union is.
        if (anyBits <= 1) {
            mask |= kFieldStatusByte;
            std::uint32_t byte = 0;
            for (int k = 0; k < kStatusBitCount; ++k)
                byte = byte << 1 | static_cast<std::uint32_t>(before.status[k]);
            record.Put(static_cast<std::uint8_t>(byte));
        } else {
            mask |= kFieldStatusWide;
            for (std::int32_t bit : before.status) record.Put(bit);
        }
    }
    if (before.halted) mask |= kFieldWasHalted;
    return mask;
}

// The old value of each cell that changed; wroteWatched tells whether one of them is watched.
std::uint16_t PutCells(RecordWriter& record, const CellsBefore& cells, const Machine& m,
                       const AddressSet* watchedCells, bool& wroteWatched) {
    int changed = 0;
    for (int i = 0; i < cells.count; ++i) changed += m.memory[cells.addresses[i]] != cells.old[i];
    if (changed == 0) return 0;
    record.Put(static_cast<std::uint8_t>(changed));
    for (int i = 0; i < cells.count; ++i) {
        if (m.memory[cells.addresses[i]] == cells.old[i]) continue;
        record.Put(static_cast<std::uint16_t>(cells.addresses[i]));
        record.Put(cells.old[i]);
        if (watchedCells != nullptr && watchedCells->ContainsInMemory(cells.addresses[i]))
            wroteWatched = true;
    }
    return kFieldCells;
}

// When the console's text changed, its counts; the caller appends the front and the tail.
std::uint16_t PutConsole(RecordWriter& record, const ConsoleBefore& old) {
    record.Put(static_cast<std::uint32_t>(old.kept));
    record.Put(static_cast<std::uint32_t>(old.tail.size()));
    if (old.front.empty()) return kFieldConsole;
    record.Put(static_cast<std::uint32_t>(old.front.size()));
    return kFieldConsole | kFieldConsoleFront;
}

// Reads the fields of one record, oldest field first.
class RecordReader {
  public:
    RecordReader(const std::uint8_t* at) : at_(at) {}
    template <typename T>
    T Get() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    std::string GetText(std::size_t size) {
        std::string text(reinterpret_cast<const char*>(at_), size);
        at_ += size;
        return text;
    }

  private:
    const std::uint8_t* at_;
};

struct ParsedRecord {
    std::uint16_t mask = 0;
    RegisterState before;  // fields not in the record keep the machine's values
    std::array<CellChange, kMaxCellsChanged> cells{};
    int cellCount = 0;
    ConsoleBefore console;
    std::size_t start = 0;
};

// now: the registers the fields not in the record take; the machine's when nullptr.
ParsedRecord Parse(const std::uint8_t* log, std::size_t end, const Machine& machine,
                   const RegisterState* now = nullptr) {
    ParsedRecord record;
    RecordReader trailer(log + end - kTrailerSize);
    record.mask = trailer.Get<std::uint16_t>();
    const auto length = trailer.Get<std::uint32_t>();
    record.start = end - length;
    RecordReader reader(log + record.start);
    RegisterState& r = record.before;
    r = now != nullptr ? *now : RegisterState::Of(machine);
    const std::uint16_t mask = record.mask;
    r.PC = reader.Get<std::int32_t>();
    if (mask & kFieldAC) r.AC = reader.Get<std::int32_t>();
    if (mask & kFieldXR) r.XR = reader.Get<std::int32_t>();
    if (mask & kFieldYR) r.YR = reader.Get<std::int32_t>();
    if (mask & kFieldSP) r.SP = reader.Get<std::int32_t>();
    if (mask & kFieldReturn) r.returnAddress = reader.Get<std::int32_t>();
    if (mask & kFieldStatusByte) {
        const auto byte = reader.Get<std::uint8_t>();
        for (int k = 0; k < kStatusBitCount; ++k) r.status[k] = (byte >> (7 - k)) & 1;
    }
    if (mask & kFieldStatusWide) {
        for (int k = 0; k < kStatusBitCount; ++k) r.status[k] = reader.Get<std::int32_t>();
    }
    r.halted = (mask & kFieldWasHalted) != 0;
    if (mask & kFieldCells) {
        record.cellCount = reader.Get<std::uint8_t>();
        for (int i = 0; i < record.cellCount; ++i) {
            CellChange& cell = record.cells[i];
            cell.address = reader.Get<std::uint16_t>();
            cell.before = reader.Get<std::int16_t>();
            cell.after = machine.memory[static_cast<std::size_t>(cell.address)];
        }
    }
    if (mask & kFieldConsole) {
        record.console.kept = reader.Get<std::uint32_t>();
        const auto tail = reader.Get<std::uint32_t>();
        const auto front = (mask & kFieldConsoleFront) ? reader.Get<std::uint32_t>() : 0;
        record.console.front = reader.GetText(front);
        record.console.tail = reader.GetText(tail);
    }
    return record;
}

void PutBack(const ParsedRecord& record, Machine& m) {
    for (int i = 0; i < record.cellCount; ++i)
        m.memory[static_cast<std::size_t>(record.cells[i].address)] = record.cells[i].before;
    record.before.RestoreInto(m);
}

StepChange ChangeOf(const ParsedRecord& record, const Machine& after) {
    StepChange change;
    change.before = record.before;
    change.after = RegisterState::Of(after);
    change.address = record.before.PC;
    change.cells = record.cells;
    change.cellCount = record.cellCount;
    change.consoleChanged = (record.mask & kFieldConsole) != 0;
    return change;
}

}  // namespace

RegisterState RegisterState::Of(const Machine& m) {
    return {m.PC, m.AC, m.XR, m.YR, m.SP, m.returnAddress, m.status, m.halted};
}

void RegisterState::RestoreInto(Machine& m) const {
    m.PC = PC;
    m.AC = AC;
    m.XR = XR;
    m.YR = YR;
    m.SP = SP;
    m.returnAddress = returnAddress;
    m.status = status;
    m.halted = halted;
}

std::int32_t StepChange::CellBefore(const Machine& machineAfter, std::int64_t cell) const {
    for (int i = 0; i < cellCount; ++i) {
        if (cells[i].address == cell) return cells[i].before;
    }
    return machineAfter.Read(cell);
}

ZORVAN_HOT bool StepHistory::Write(const RegisterState& before, const CellsBefore& cells,
                                   const ConsoleBefore* console, const Machine& m,
                                   const AddressSet* watchedCells) {
    // The record is written straight into the log's free room (no copy of a buffer, whose
    // narrow stores a wide copy would wait for); the console's old text, of any length, goes
    // between its fields and its trailer.
    if (Position() % kCheckpointEvery == 0) {
        while (!checkpoints_.empty() && checkpoints_.back().position >= Position())
            checkpoints_.pop_back();
        checkpoints_.push_back({Position(), base_ + logSize_});
    }
    Reserve(kMaxRecordSize);
    RecordWriter record(log_.Data() + logSize_);
    std::uint16_t mask = PutRegisters(record, before, m);
    bool wroteWatched = false;
    mask |= PutCells(record, cells, m, watchedCells, wroteWatched);
    std::size_t consoleText = 0;
    if (console != nullptr) {
        mask |= PutConsole(record, *console);
        consoleText = console->front.size() + console->tail.size();
    }
    const auto length = static_cast<std::uint32_t>(record.Used() + consoleText + kTrailerSize);
    if (consoleText == 0) {
        record.Put(mask);
        record.Put(length);
        logSize_ += record.Used();
    } else {
        logSize_ += record.Used();
        Append(console->front.data(), console->front.size());
        Append(console->tail.data(), console->tail.size());
        Append(&mask, sizeof mask);
        Append(&length, sizeof length);
    }
    ++count_;
    // Twice the depth before the oldest go: dropping them moves the log, so it is
    // done seldom, and the log stays well under its budget.
    if (count_ >= 2 * kDepth || logSize_ > kByteBudget) DropOldest();
    return wroteWatched;
}

bool StepHistory::StepDecoded(Machine& m, MachineHost& host, RestorableConsole* console,
                              const AddressSet* watchedCells, SlipChecks* slips,
                              const DecodedOpcode d) {
    if (!stretches_.empty()) [[unlikely]]
        MakeRecords();
    const RegisterState before = RegisterState::Of(m);
    const std::int64_t a = m.PC;
    const CellsBefore cells = CellsTheStepMayWrite(m, d, a);
    const std::int64_t routine = console != nullptr ? ConsoleRoutineCalled(m, d, a) : -1;
    if (routine < 0) {
        if (slips != nullptr) {
            slips->Recording(Position(), generation_);
            ExecuteStep(detail::TrackedCore(m, host, *slips), m, d, a);
        } else {
            ExecuteStep(detail::Core(m, host), m, d, a);
        }
        return Write(before, cells, nullptr, m, watchedCells);
    }
    ConsoleWatch consoleWatch(console, routine == kPrintTextRoutine);
    if (slips != nullptr) slips->Recording(Position(), generation_);
    StepAt(m, host, static_cast<int>(a), slips);
    ConsoleBefore consoleOld;
    const bool consoleChanged = consoleWatch.Changed(consoleOld);
    return Write(before, cells, consoleChanged ? &consoleOld : nullptr, m, watchedCells);
}

bool StepHistory::Record(Machine& m, MachineHost& host, const DecodedOpcode d,
                         const ConsoleBefore* console) {
    const RegisterState before = RegisterState::Of(m);
    const std::int64_t a = m.PC;
    const CellsBefore cells = CellsTheStepMayWrite(m, d, a);
    ExecuteStep(detail::Core(m, host), m, d, a);
    return Write(before, cells, console, m, nullptr);
}

void StepHistory::AbsorbIntoLast(const Machine& m, const RegisterState& left) {
    MakeRecords();
    if (count_ == 0) return;
    const ParsedRecord record = Parse(log_.Data(), logSize_, m, &left);
    CellsBefore cells;
    for (int i = 0; i < record.cellCount; ++i) {
        cells.addresses[i] = record.cells[i].address;
        cells.old[i] = record.cells[i].before;
    }
    cells.count = record.cellCount;
    logSize_ = record.start;
    --count_;
    Write(record.before, cells, (record.mask & kFieldConsole) ? &record.console : nullptr, m,
          nullptr);
}

bool StepHistory::Undo(Machine& m, RestorableConsole* console) {
    MakeRecords();
    if (count_ == 0) return false;
    std::size_t records = 1;
    if (const StepGroup* group = LastGroup()) {
        records = group->end - std::max(group->begin, dropped_);
        groups_.pop_back();
    }
    for (; records > 0 && count_ > 0; --records) UndoOne(m, console);
    return true;
}

void StepHistory::UndoOne(Machine& m, RestorableConsole* console) {
    const ParsedRecord record = Parse(log_.Data(), logSize_, m);
    PutBack(record, m);
    if ((record.mask & kFieldConsole) && console != nullptr) {
        const std::string now = console->Text();
        console->SetText(record.console.front +
                         now.substr(0, std::min(record.console.kept, now.size())) +
                         record.console.tail);
    }
    logSize_ = record.start;
    --count_;
}

void StepHistory::Group(std::size_t begin, int address, std::string sentence) {
    if (begin >= Position()) return;
    groups_.push_back({begin, Position(), address, std::move(sentence)});
}

const StepGroup* StepHistory::LastGroup() const {
    return !groups_.empty() && groups_.back().end == Position() && !Empty() ? &groups_.back()
                                                                            : nullptr;
}

std::optional<StepChange> StepHistory::Last(const Machine& m) const {
    if (!stretches_.empty()) {
        // The newest stretch run again up to its last instruction, which alone is recorded.
        const Stretch& latest = stretches_.back();
        const auto machine = std::make_unique<Machine>();
        StepHistory last;
        Replay(latest, *machine, latest.length - 1, latest.length, &last);
        return last.Last(m);
    }
    if (count_ == 0) return std::nullopt;
    return ChangeOf(Parse(log_.Data(), logSize_, m), m);
}

void StepHistory::VisitLatest(const Machine& m, const RestorableConsole* console, std::size_t count,
                              const PastStepVisitor& visit) {
    if (!stretches_.empty()) {
        // After a long run, only the end of its newest stretch is recorded, when it holds the
        // steps asked for: a group counts as one step, and none may begin before the stretch.
        const std::size_t begin = Position() - stretches_.back().length;
        std::size_t from = Position();
        std::size_t steps = 0;
        for (auto group = groups_.rbegin(); steps < count && from > begin; ++steps) {
            while (group != groups_.rend() && group->end > from) ++group;
            from = group != groups_.rend() && group->end == from ? group->begin : from - 1;
        }
        if (steps == count && from >= begin) {
            LatestStretchRecorded(from)->VisitLatest(m, console, count, visit);
            return;
        }
        MakeRecords();
    }
    if (count_ == 0 || count == 0) return;
    // Undone on a copy, record by record, so that each step is told against the machine it left;
    // the console's text too, read only once a step changed it.
    const auto after = std::make_unique<Machine>(m);
    std::optional<std::string> text;
    std::size_t end = logSize_;
    std::size_t position = Position();
    auto group = groups_.rbegin();
    for (std::size_t shown = 0; shown < count && position > dropped_; ++shown) {
        while (group != groups_.rend() && group->end > position) ++group;
        const StepGroup* whole =
            group != groups_.rend() && group->end == position ? &*group : nullptr;
        std::size_t records = whole != nullptr ? position - std::max(whole->begin, dropped_) : 1;
        ParsedRecord record = Parse(log_.Data(), end, *after);
        StepChange change = ChangeOf(record, *after);
        if (change.consoleChanged && console != nullptr) {
            if (!text) text = console->Text();
            const std::size_t line = text->rfind('\n');
            change.consoleShows = line == std::string::npos ? *text : text->substr(line + 1);
        }
        visit(position, change, whole, *after);
        while (true) {
            if ((record.mask & kFieldConsole) && text) {
                *text = record.console.front +
                        text->substr(0, std::min(record.console.kept, text->size())) +
                        record.console.tail;
            }
            PutBack(record, *after);
            end = record.start;
            --position;
            if (--records == 0 || position == dropped_) break;
            record = Parse(log_.Data(), end, *after);
        }
    }
}

void StepHistory::End(std::string reason) {
    Clear();
    endedBecause_ = std::move(reason);
}

void StepHistory::Clear() {
    ++generation_;
    stretches_.clear();
    unrecorded_ = 0;
    stretchBytes_ = 0;
    stretchOpen_ = false;
    log_.Release();
    logSize_ = 0;
    count_ = 0;
    // A group of the history that ended would take the steps recorded after it for its own.
    groups_.clear();
}

void StepHistory::DropOldest() {
    std::size_t end = logSize_;
    std::size_t kept = 0;
    // The newest kDepth records, from the latest checkpoint at or before them: no walk over a
    // million records, each length waiting for the one before.
    const std::size_t oldestKept = Position() - std::min(count_, kDepth);
    const auto checkpoint =
        std::find_if(checkpoints_.rbegin(), checkpoints_.rend(),
                     [&](const Checkpoint& c) { return c.position <= oldestKept; });
    if (logSize_ <= kByteBudget && checkpoint != checkpoints_.rend() &&
        checkpoint->position > dropped_) {
        end = checkpoint->offset - base_;
        kept = Position() - checkpoint->position;
    } else {
        // Fewer when the console's texts they hold would pass three quarters of the budget: walk
        // back over them to where they begin.
        while (kept < count_ && kept < kDepth) {
            RecordReader trailer(log_.Data() + end - kTrailerSize);
            trailer.Get<std::uint16_t>();
            const std::size_t length = trailer.Get<std::uint32_t>();
            if (kept != 0 && logSize_ - (end - length) > kByteBudget / 4 * 3) break;
            end -= length;
            ++kept;
        }
    }
    std::memmove(log_.Data(), log_.Data() + end, logSize_ - end);
    logSize_ -= end;
    base_ += end;
    dropped_ += count_ - kept;
    count_ = kept;
    std::erase_if(groups_, [this](const StepGroup& group) { return group.end <= dropped_; });
    std::erase_if(checkpoints_, [this](const Checkpoint& c) { return c.position < dropped_; });
}

void StepHistory::Grow(std::size_t size) {
    // Doubling, but not far past the budget, at which the oldest records go.
    const std::size_t grown = std::min(log_.Size() * 2, kByteBudget + kFirstReserve);
    const std::size_t target = std::max({logSize_ + size, kFirstReserve, grown});
    log_.Resize(target, logSize_);
}

void StepHistory::Append(const void* bytes, std::size_t size) {
    Reserve(size);
    std::memcpy(log_.Data() + logSize_, bytes, size);
    logSize_ += size;
}

}  // namespace zorvan::cpu
