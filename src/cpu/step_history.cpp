#include "cpu/step_history.h"

#include <algorithm>
#include <cstring>

#include "cpu/execution.h"
#include "cpu/interpreter.h"
#include "cpu/run_loop.h"

namespace zorvan::cpu {
namespace {

// Which old values a record holds. PC is always there.
enum RecordField : std::uint16_t {
    kFieldAC = 1 << 0,
    kFieldXR = 1 << 1,
    kFieldYR = 1 << 2,
    kFieldSP = 1 << 3,
    kFieldReturn = 1 << 4,
    kFieldStatusByte = 1 << 5,  // all eight bits 0 or 1 before: one byte
    kFieldStatusWide = 1 << 6,  // any other value: eight ints
    kFieldHaltToggled = 1 << 7,
    kFieldCells = 1 << 8,
    kFieldConsole = 1 << 9,
};

// Mask (2 bytes) and the record's whole length (4 bytes) close every record.
constexpr std::size_t kTrailerSize = 6;
// A first reserve for a run of the step window: no copying for the first few hundred thousand
// instructions.
constexpr std::size_t kFirstReserve = std::size_t{4} << 20;
// The log's size past which the oldest records go whatever their number: the console's texts,
// which a record keeps whole when a routine clears the console, can be long.
constexpr std::size_t kByteBudget = std::size_t{48} << 20;
// PC, four registers and the return address, eight wide bits, three cells, the console's two
// counts, and the trailer: the most a record holds besides the console's text.
constexpr std::size_t kMaxRecordSize = 4 * 6 + 4 * kStatusBitCount + 1 + 3 * 4 + 8 + kTrailerSize;

bool AllBinary(const std::array<std::int32_t, kStatusBitCount>& status) {
    return std::all_of(status.begin(), status.end(),
                       [](std::int32_t bit) { return bit == 0 || bit == 1; });
}

bool IsConsoleRoutine(std::int64_t address) {
    return address >= kPrintTextRoutine && address <= kShowCharacterRoutine;
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
    std::uint32_t consoleKept = 0;
    std::string consoleTail;
    std::size_t start = 0;
};

ParsedRecord Parse(const std::uint8_t* log, std::size_t end, const Machine& machine) {
    ParsedRecord record;
    RecordReader trailer(log + end - kTrailerSize);
    record.mask = trailer.Get<std::uint16_t>();
    const auto length = trailer.Get<std::uint32_t>();
    record.start = end - length;
    RecordReader reader(log + record.start);
    RegisterState& r = record.before;
    r = RegisterState::Of(machine);
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
    if (mask & kFieldHaltToggled) r.halted = !r.halted;
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
        record.consoleKept = reader.Get<std::uint32_t>();
        const auto size = reader.Get<std::uint32_t>();
        record.consoleTail = reader.GetText(size);
    }
    return record;
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

std::int32_t StepChange::CellBefore(const Machine& after, std::int64_t address) const {
    for (int i = 0; i < cellCount; ++i) {
        if (cells[i].address == address) return cells[i].before;
    }
    return after.Read(address);
}

bool StepHistory::Step(Machine& m, MachineHost& host, ConsoleText* console,
                       const AddressSet* watchedCells) {
    const RegisterState before = RegisterState::Of(m);
    const std::int64_t a = m.PC;
    const int opcode = m.Read(a);
    const DecodedOpcode d = Decode(opcode);

    // Every cell the instruction may write, with its value now.
    std::array<std::int64_t, kMaxCellsChanged> candidates{};
    std::array<std::int16_t, kMaxCellsChanged> old{};
    int candidateCount = 0;
    const auto consider = [&](std::int64_t address) {
        if (!Machine::IsAddress(address)) return;
        for (int i = 0; i < candidateCount; ++i) {
            if (candidates[i] == address) return;
        }
        candidates[candidateCount] = address;
        old[candidateCount] = m.memory[static_cast<std::size_t>(address)];
        ++candidateCount;
    };
    consider(a + 1);  // the operand restoring after any instruction
    std::string consoleBefore;
    bool consoleWatched = false;
    if (d.executed) {
        detail::Core core(m, host);
        consider(detail::Locate(core, d.mode, a));
        if (d.operation == Operation::kPha || d.operation == Operation::kPhp)
            consider(kStackPage + std::int64_t{m.SP});
        if (d.operation == Operation::kJsr && console != nullptr &&
            IsConsoleRoutine(std::int64_t{m.Read(a + 2)} * 256 + m.Read(a + 1))) {
            consoleWatched = true;
            consoleBefore = console->Text();
        }
    }

    StepAt(m, host, static_cast<int>(a));

    // The record is written straight into the log's free room (no copy of a buffer, whose
    // narrow stores a wide copy would wait for); the console's old text, of any length, goes
    // between its fields and its trailer.
    Reserve(kMaxRecordSize);
    std::uint8_t* const record = log_.data() + logSize_;
    std::size_t used = 0;
    const auto put = [record, &used](const auto value) {
        std::memcpy(record + used, &value, sizeof value);
        used += sizeof value;
    };
    std::uint16_t mask = 0;
    put(before.PC);
    if (m.AC != before.AC) mask |= kFieldAC, put(before.AC);
    if (m.XR != before.XR) mask |= kFieldXR, put(before.XR);
    if (m.YR != before.YR) mask |= kFieldYR, put(before.YR);
    if (m.SP != before.SP) mask |= kFieldSP, put(before.SP);
    if (m.returnAddress != before.returnAddress) mask |= kFieldReturn, put(before.returnAddress);
    // Bit by bit: the bits were just stored one by one, and one wide load of them all would wait
    // for those stores to land.
    bool statusChanged = false;
    for (int k = 0; k < kStatusBitCount && !statusChanged; ++k)
        statusChanged = m.status[k] != before.status[k];
    if (statusChanged) {
        if (AllBinary(before.status)) {
            mask |= kFieldStatusByte;
            std::uint8_t byte = 0;
            for (int k = 0; k < kStatusBitCount; ++k)
                byte = static_cast<std::uint8_t>(byte << 1 | before.status[k]);
            put(byte);
        } else {
            mask |= kFieldStatusWide;
            for (std::int32_t bit : before.status) put(bit);
        }
    }
    if (m.halted != before.halted) mask |= kFieldHaltToggled;
    bool wroteWatched = false;
    std::size_t consoleTail = 0;
    int changed = 0;
    for (int i = 0; i < candidateCount; ++i) changed += m.memory[candidates[i]] != old[i];
    if (changed != 0) {
        mask |= kFieldCells;
        put(static_cast<std::uint8_t>(changed));
        for (int i = 0; i < candidateCount; ++i) {
            if (m.memory[candidates[i]] == old[i]) continue;
            put(static_cast<std::uint16_t>(candidates[i]));
            put(old[i]);
            if (watchedCells != nullptr && watchedCells->ContainsInMemory(candidates[i]))
                wroteWatched = true;
        }
    }
    if (consoleWatched) {
        const std::string after = console->Text();
        const auto kept = static_cast<std::size_t>(
            std::mismatch(consoleBefore.begin(), consoleBefore.end(), after.begin(), after.end())
                .first -
            consoleBefore.begin());
        if (kept != consoleBefore.size() || kept != after.size()) {
            mask |= kFieldConsole;
            put(static_cast<std::uint32_t>(kept));
            put(static_cast<std::uint32_t>(consoleBefore.size() - kept));
            consoleTail = consoleBefore.size() - kept;
        }
    }
    const auto length = static_cast<std::uint32_t>(used + consoleTail + kTrailerSize);
    if (consoleTail == 0) {
        put(mask);
        put(length);
        logSize_ += used;
    } else {
        logSize_ += used;
        Append(consoleBefore.data() + consoleBefore.size() - consoleTail, consoleTail);
        Append(&mask, sizeof mask);
        Append(&length, sizeof length);
    }
    ++count_;
    // A quarter more than the depth before the oldest go: dropping them moves the log, so it is
    // done seldom, and the log stays well under its budget.
    if (count_ >= kDepth + kDepth / 4 || logSize_ > kByteBudget) DropOldest();
    return wroteWatched;
}

bool StepHistory::Undo(Machine& m, ConsoleText* console) {
    if (count_ == 0) return false;
    const ParsedRecord record = Parse(log_.data(), logSize_, m);
    for (int i = 0; i < record.cellCount; ++i)
        m.memory[static_cast<std::size_t>(record.cells[i].address)] = record.cells[i].before;
    record.before.RestoreInto(m);
    if ((record.mask & kFieldConsole) && console != nullptr) {
        const std::string now = console->Text();
        console->SetText(now.substr(0, std::min<std::size_t>(record.consoleKept, now.size())) +
                         record.consoleTail);
    }
    logSize_ = record.start;
    --count_;
    return true;
}

std::optional<StepChange> StepHistory::Last(const Machine& m) const {
    if (count_ == 0) return std::nullopt;
    const ParsedRecord record = Parse(log_.data(), logSize_, m);
    StepChange change;
    change.before = record.before;
    change.after = RegisterState::Of(m);
    change.address = record.before.PC;
    change.cells = record.cells;
    change.cellCount = record.cellCount;
    change.consoleChanged = (record.mask & kFieldConsole) != 0;
    return change;
}

void StepHistory::Clear() {
    log_.clear();
    log_.shrink_to_fit();
    logSize_ = 0;
    count_ = 0;
}

void StepHistory::DropOldest() {
    // Keep the newest kDepth records, fewer when the console's texts they hold would pass three
    // quarters of the budget: walk back over them to where they begin.
    std::size_t end = logSize_;
    std::size_t kept = 0;
    while (kept < count_ && kept < kDepth) {
        RecordReader trailer(log_.data() + end - kTrailerSize);
        trailer.Get<std::uint16_t>();
        const std::size_t length = trailer.Get<std::uint32_t>();
        if (kept != 0 && logSize_ - (end - length) > kByteBudget / 4 * 3) break;
        end -= length;
        ++kept;
    }
    std::memmove(log_.data(), log_.data() + end, logSize_ - end);
    logSize_ -= end;
    count_ = kept;
}

void StepHistory::Reserve(std::size_t size) {
    if (logSize_ + size <= log_.size()) return;
    // Doubling, but not far past the budget, at which the oldest records go.
    const std::size_t grown = std::min(log_.size() * 2, kByteBudget + kFirstReserve);
    const std::size_t target = std::max({logSize_ + size, kFirstReserve, grown});
    log_.reserve(target);  // exactly: resize alone would double the capacity past the budget
    log_.resize(target);
}

void StepHistory::Append(const void* bytes, std::size_t size) {
    Reserve(size);
    std::memcpy(log_.data() + logSize_, bytes, size);
    logSize_ += size;
}

}  // namespace zorvan::cpu
