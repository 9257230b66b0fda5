// The history's long runs: stretches of instructions kept unrecorded, from the machine as each
// began and the console's text before each console call, and made into records by running them
// again.
#include <cstring>
#include <memory>
#include <utility>

#include "cpu/execution.h"
#include "cpu/interpreter.h"
#include "cpu/step_history.h"
#include "cpu/step_record.h"

namespace zorvan::cpu {
namespace {

// What both of the history's files share.
using namespace step_record;  // NOLINT(google-build-using-namespace)

// What the history tells the console while it runs instructions again: nothing, as the
// console shows their texts already.
class SilentHost : public NullMachineHost {
  public:
    bool WantsPrintedText() const override { return false; }
};

// The console text before an unrecorded console call, one entry per call in the order made
// (old nullptr: the call changed nothing).
void PackConsole(std::vector<std::uint8_t>& packed, const ConsoleBefore* old) {
    static const ConsoleBefore kUnchanged;
    const ConsoleBefore& text = old != nullptr ? *old : kUnchanged;
    const std::uint32_t fields[] = {old != nullptr, static_cast<std::uint32_t>(text.kept),
                                    static_cast<std::uint32_t>(text.front.size()),
                                    static_cast<std::uint32_t>(text.tail.size())};
    const std::size_t at = packed.size();
    packed.resize(at + sizeof fields + text.front.size() + text.tail.size());
    std::memcpy(packed.data() + at, fields, sizeof fields);
    std::memcpy(packed.data() + at + sizeof fields, text.front.data(), text.front.size());
    std::memcpy(packed.data() + at + sizeof fields + text.front.size(), text.tail.data(),
                text.tail.size());
}

// Reads them back, call by call.
class PackedConsoles {
  public:
    explicit PackedConsoles(const std::vector<std::uint8_t>& packed) : packed_(packed) {}
    // The old text of the next call, or nullptr when it changed none.
    const ConsoleBefore* Next() {
        if (offset_ >= packed_.size()) return nullptr;
        std::uint32_t fields[4];
        std::memcpy(fields, packed_.data() + offset_, sizeof fields);
        const std::size_t text = offset_ + sizeof fields;
        offset_ = text + fields[2] + fields[3];
        if (fields[0] == 0) return nullptr;
        const auto* chars = reinterpret_cast<const char*>(packed_.data() + text);
        current_.kept = fields[1];
        current_.front.assign(chars, fields[2]);
        current_.tail.assign(chars + fields[2], fields[3]);
        return &current_;
    }

  private:
    const std::vector<std::uint8_t>& packed_;
    std::size_t offset_ = 0;
    ConsoleBefore current_;
};

// Whether the instruction may change a cell: a store, a shift or step of a cell, a push, or any
// instruction whose operand cell holds a value below 0 (which is raised after it).
bool MayWriteCell(const Machine& m, const DecodedOpcode& d, std::int64_t a) {
    return IsStore(d.operation) || ReadsAndWritesCell(d.operation) ||
           d.operation == Operation::kPha || d.operation == Operation::kPhp || m.Read(a + 1) < 0;
}

// Whether one of the cells changed and is watched.
bool WroteWatched(const CellsBefore& cells, const Machine& m, const AddressSet& watched) {
    for (int i = 0; i < cells.count; ++i) {
        if (m.memory[cells.addresses[i]] != cells.old[i] &&
            watched.ContainsInMemory(cells.addresses[i]))
            return true;
    }
    return false;
}

}  // namespace

bool StepHistory::StepUnrecorded(Machine& m, MachineHost& host, RestorableConsole* console,
                                 const AddressSet* watchedCells, SlipChecks* slips,
                                 const DecodedOpcode d) {
    if (!stretchOpen_) [[unlikely]]
        OpenStretch(m);
    const std::int64_t a = m.PC;
    // The cells before it only where it may change one that is watched.
    if (watchedCells != nullptr && MayWriteCell(m, d, a)) {
        const CellsBefore cells = CellsTheStepMayWrite(m, d, a);
        ExecuteUnrecorded(m, host, console, slips, d);
        return WroteWatched(cells, m, *watchedCells);
    }
    ExecuteUnrecorded(m, host, console, slips, d);
    return false;
}

ZORVAN_HOT void StepHistory::ExecuteUnrecorded(Machine& m, MachineHost& host,
                                               RestorableConsole* console, SlipChecks* slips,
                                               const DecodedOpcode d) {
    const std::int64_t a = m.PC;
    // Every console call leaves an entry, the same whatever the console: the replay takes one
    // at each.
    const std::int64_t routine = ConsoleRoutineCalled(m, d, a);
    if (slips != nullptr) slips->Recording(Position(), generation_);
    if (routine < 0) {
        if (slips != nullptr) {
            ExecuteStep(detail::TrackedCore(m, host, *slips), m, d, a);
        } else {
            ExecuteStep(detail::Core(m, host), m, d, a);
        }
    } else {
        ConsoleWatch consoleWatch(console, routine == kPrintTextRoutine);
        if (slips != nullptr) {
            ExecuteStep(detail::TrackedCore(m, host, *slips), m, d, a);
        } else {
            ExecuteStep(detail::Core(m, host), m, d, a);
        }
        ConsoleBefore old;
        KeepConsole(consoleWatch.Changed(old) ? &old : nullptr);
    }
    AddUnrecorded(1);
}

std::size_t StepHistory::OpenStretch(const Machine& m) {
    if (!stretchOpen_) {
        stretches_.push_back({std::make_shared<const Machine>(m), 0, {}});
        stretchOpen_ = true;
        // The oldest stretch goes, with every record before it, once the others hold the depth
        // or its console texts pass the budget.
        while (stretches_.size() > 1 &&
               (unrecorded_ - stretches_.front().length >= kDepth || stretchBytes_ > kByteBudget))
            DropOldestStretch();
    }
    return kStretchLength - stretches_.back().length;
}

void StepHistory::AddUnrecorded(std::size_t count) {
    Stretch& stretch = stretches_.back();
    stretch.length += count;
    unrecorded_ += count;
    if (stretch.length >= kStretchLength || stretch.consoles.size() > kByteBudget / 8)
        stretchOpen_ = false;
}

void StepHistory::KeepConsole(const ConsoleBefore* old) {
    std::vector<std::uint8_t>& packed = stretches_.back().consoles;
    const std::size_t size = packed.size();
    PackConsole(packed, old);
    stretchBytes_ += packed.size() - size;
}

void StepHistory::Replay(const Stretch& stretch, Machine& m, std::size_t from, std::size_t count,
                         StepHistory* into) {
    SilentHost host;
    m = *stretch.start;
    PackedConsoles consoles(stretch.consoles);
    for (std::size_t i = 0; i < count; ++i) {
        const DecodedOpcode d = Decode(m.Read(m.PC));
        const ConsoleBefore* console =
            ConsoleRoutineCalled(m, d, m.PC) >= 0 ? consoles.Next() : nullptr;
        if (into != nullptr && i >= from) {
            into->Record(m, host, d, console);
        } else {
            ExecuteStep(detail::Core(m, host), m, d, m.PC);
        }
    }
}

void StepHistory::MakeRecords() {
    if (stretches_.empty()) return;
    const std::deque<Stretch> stretches = std::move(stretches_);
    stretches_.clear();
    unrecorded_ = 0;
    stretchBytes_ = 0;
    stretchOpen_ = false;
    const auto machine = std::make_unique<Machine>();
    for (const Stretch& stretch : stretches) Replay(stretch, *machine, 0, stretch.length, this);
}

std::unique_ptr<StepHistory> StepHistory::LatestStretchRecorded(std::size_t from) const {
    const Stretch& latest = stretches_.back();
    auto history = std::make_unique<StepHistory>();
    history->dropped_ = from;
    history->generation_ = generation_;
    for (const StepGroup& group : groups_) {
        if (group.begin >= from) history->groups_.push_back(group);
    }
    const auto machine = std::make_unique<Machine>();
    Replay(latest, *machine, from - (Position() - latest.length), latest.length, history.get());
    return history;
}

void StepHistory::DropOldestStretch() {
    // Every record is older than the stretch: they go with it.
    const Stretch& oldest = stretches_.front();
    dropped_ += count_ + oldest.length;
    unrecorded_ -= oldest.length;
    stretchBytes_ -= oldest.consoles.size();
    base_ += logSize_;
    log_.Release();
    logSize_ = 0;
    count_ = 0;
    checkpoints_.clear();
    stretches_.pop_front();
    std::erase_if(groups_, [this](const StepGroup& group) { return group.end <= dropped_; });
}

template <typename Call>
void UnrecordedConsole::Watched(int routine, Call call) {
    if (routineWithoutRts_ < 0) {
        const DecodedOpcode d = Decode(machine_.Read(routine));
        if (!d.known || d.operation != Operation::kRts) routineWithoutRts_ = routine;
    }
    ConsoleWatch watch(console_, routine == kPrintTextRoutine);
    call();
    ConsoleBefore old;
    history_.KeepConsole(watch.Changed(old) ? &old : nullptr);
}

void UnrecordedConsole::ShowCharacter(int ac) {
    Watched(kShowCharacterRoutine, [&] { host_.ShowCharacter(ac); });
}

void UnrecordedConsole::AskForAccumulator() {
    Watched(kAskForAccumulatorRoutine, [&] { host_.AskForAccumulator(); });
}

void UnrecordedConsole::ClearConsole() {
    Watched(kClearConsoleRoutine, [&] { host_.ClearConsole(); });
}

void UnrecordedConsole::PrintText(std::string_view cp1253Bytes) {
    Watched(kPrintTextRoutine, [&] {
        if (host_.WantsPrintedText()) host_.PrintText(cp1253Bytes);
    });
}

}  // namespace zorvan::cpu
