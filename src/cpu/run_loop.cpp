#include "cpu/run_loop.h"

#include <algorithm>
#include <type_traits>

#include "cpu/execution.h"
#include "cpu/interpreter.h"
#include "text/hex_text.h"

namespace zorvan::cpu {

namespace {

// The operand cell of an instruction at the last address lies past the end of memory; there is
// nothing to present or restore then.
bool HasOperandCell(std::int64_t address) {
    return Machine::IsAddress(address + 1);
}

// The run loop's switch has one case per operation and addressing mode. The operations whose rule
// depends on the mode get a case for every mode; the others have one mode in the table.
// clang-format off
#define ZORVAN_OPERATIONS_WITH_MODES(X)                                                         \
    X(kAdc) X(kAnd) X(kAsl) X(kBit) X(kCmp) X(kCpx) X(kCpy) X(kDec) X(kEor) X(kInc) X(kJmp)     \
    X(kLda) X(kLdx) X(kLdy) X(kLsr) X(kOra) X(kRol) X(kRor) X(kSbc) X(kSta) X(kStx) X(kSty)
#define ZORVAN_OPERATIONS_WITH_ONE_MODE(X)                                                      \
    X(kBcc) X(kBcs) X(kBeq) X(kBmi) X(kBne) X(kBpl) X(kBvc) X(kBvs) X(kClc) X(kClv) X(kDex)     \
    X(kDey) X(kInx) X(kIny) X(kJsr) X(kNop) X(kPha) X(kPhp) X(kPla) X(kPlp) X(kRts) X(kSec)     \
    X(kTax) X(kTay) X(kTsx) X(kTxa) X(kTxs) X(kTya)
// clang-format on

constexpr bool HasModes(Operation operation) {
    switch (operation) {
#define ZORVAN_CASE(OPERATION) case Operation::OPERATION:
        ZORVAN_OPERATIONS_WITH_MODES(ZORVAN_CASE)
#undef ZORVAN_CASE
        return true;
        default:
            return false;
    }
}

constexpr bool HasOneMode(Operation operation) {
    switch (operation) {
#define ZORVAN_CASE(OPERATION) case Operation::OPERATION:
        ZORVAN_OPERATIONS_WITH_ONE_MODE(ZORVAN_CASE)
#undef ZORVAN_CASE
        return true;
        default:
            return false;
    }
}

// The mode of an operation that has only one.
constexpr int SoleMode(Operation operation) {
    switch (operation) {
        case Operation::kBcc:
        case Operation::kBcs:
        case Operation::kBeq:
        case Operation::kBmi:
        case Operation::kBne:
        case Operation::kBpl:
        case Operation::kBvc:
        case Operation::kBvs:
            return kRelative;
        case Operation::kJsr:
            return kAbsolute;
        default:
            return kImplied;
    }
}

// Only a push can fill the stack; a console routine hands the machine to the host.
constexpr bool MayHalt(Operation operation) {
    return operation == Operation::kPha || operation == Operation::kPhp ||
           operation == Operation::kJsr;
}

// The calls and returns the slip checks log for Πίσω, each at its place in the history.
constexpr bool TellsCalls(Operation operation) {
    return operation == Operation::kJsr || operation == Operation::kRts;
}

constexpr unsigned Key(Operation operation, int mode) {
    return (static_cast<unsigned>(operation) + 1) * kModeCount + static_cast<unsigned>(mode);
}

// The switch key of every cell value, taken as its 16 bits; 0 sends it to the general path (0,
// the opcodes not executed, any opcode whose mode the switch has no case for, and every value
// outside 0-255, which is no opcode). One entry per cell value spares the dispatch a range test.
using FastKeyTable = std::array<std::uint16_t, 65536>;

FastKeyTable BuildFastKeys() {
    FastKeyTable keys{};
    for (std::size_t opcode = 0; opcode < DecodeTable().size(); ++opcode) {
        const DecodedOpcode& d = DecodeTable()[opcode];
        if (!d.executed) continue;
        if (HasModes(d.operation) || (HasOneMode(d.operation) && d.mode == SoleMode(d.operation)))
            keys[opcode] = static_cast<std::uint16_t>(Key(d.operation, d.mode));
    }
    return keys;
}

const FastKeyTable& FastKeys() {
    static const FastKeyTable kKeys = BuildFastKeys();
    return kKeys;
}

// An opcode that stands on a breakpoint has its key raised by this much: its case tests the
// address, then goes on into the opcode's own case.
constexpr unsigned kOnBreakpoint = Key(Operation::kTya, kModeCount - 1) + 1;

void SendThroughBreakpointTest(std::uint16_t* keys, std::int64_t value) {
    std::uint16_t& key = keys[static_cast<std::uint16_t>(value)];
    if (key != 0 && key < kOnBreakpoint) key = static_cast<std::uint16_t>(key + kOnBreakpoint);
}

// The core of a run that watches breakpoints: a program that stores an opcode into a breakpoint's
// cell sends that opcode through the breakpoint test as well.
template <typename BaseCore>
struct BreakpointCore : BaseCore {
    const std::uint8_t* stops;
    std::uint16_t* keys;

    ZORVAN_HOT void Write(std::int64_t address, std::int64_t value) {
        BaseCore::Write(address, value);
        if (static_cast<std::uint64_t>(address) < kMemorySize &&
            stops[static_cast<std::size_t>(address)] != 0) [[unlikely]]
            SendThroughBreakpointTest(keys, value);
    }
};

// One instruction at a below FFFE, with the operand presentation and restoring of a run.
template <Operation kOperation, int kMode, typename CoreType>
ZORVAN_HOT int FastStep(CoreType& core, std::int64_t a) {
    std::int16_t& operandCell = core.m.memory[static_cast<std::size_t>(a) + 1];
    if constexpr (kMode == kRelative || (kOperation == Operation::kJmp && kMode == kAbsolute)) {
        const std::int16_t cell = operandCell;
        if (static_cast<std::uint16_t>(cell) < 256) {
            // A stored byte 00-FF: lowering it by 256 and raising it back after leaves the cell
            // as it was, so the instruction gets the signed byte directly.
            return detail::ExecuteSignedOperand(core, kOperation, a,
                                                static_cast<std::int8_t>(cell));
        }
        detail::PresentSigned(operandCell);
        const int next = detail::ExecuteSignedOperand(core, kOperation, a, operandCell);
        detail::RestoreOperand(operandCell);
        return next;
    } else {
        const int next = detail::Execute(core, kOperation, kMode, static_cast<int>(a));
        detail::RestoreOperand(operandCell);
        return next;
    }
}

}  // namespace

std::string NotExecutedMessage(int opcode, int address) {
    return "Η εντολή " + text::FormatHex2(opcode) + " στη διεύθυνση " + text::FormatHex4(address) +
           " δεν εκτελείται. Η εκτέλεση σταμάτησε.";
}

void StepAt(Machine& machine, MachineHost& host, int address, SlipChecks* slips) {
    const int opcode = machine.Read(address);
    const bool hasOperand = HasOperandCell(address);
    if (hasOperand && Decode(opcode).signedOperand)
        detail::PresentSigned(machine.memory[static_cast<std::size_t>(address) + 1]);
    const int next = ExecuteInstruction(machine, host, opcode, address, slips);
    if (hasOperand) detail::RestoreOperand(machine.memory[static_cast<std::size_t>(address) + 1]);
    machine.PC = next;
}

Run::Run(Machine& machine, MachineHost& host, int start)
    : machine_(machine), host_(host), address_(start) {
    machine_.halted = false;
}

void Run::WatchBreakpoints(const AddressSet* breakpoints) {
    breakpoints_.reset();
    breakpointAddresses_.clear();
    breakpointKeys_.reset();
    if (breakpoints == nullptr || breakpoints->Empty()) return;
    breakpoints_ = std::make_unique<std::uint8_t[]>(kMemorySize);  // all 0
    for (int address = 0; address < kMemorySize; ++address) {
        if (breakpoints->ContainsInMemory(address)) {
            breakpoints_[static_cast<std::size_t>(address)] = 1;
            breakpointAddresses_.push_back(address);
        }
    }
    breakpointKeys_ = std::make_unique<std::uint16_t[]>(FastKeys().size());
    std::copy(FastKeys().begin(), FastKeys().end(), breakpointKeys_.get());
}

void Run::WatchBreakpointOpcodes() {
    for (const int address : breakpointAddresses_)
        SendThroughBreakpointTest(breakpointKeys_.get(), machine_.memory[address]);
}

void Run::PassBreakpoint() {
    if (!atBreakpoint_ || end_ != RunEnd::kStopped) return;
    atBreakpoint_ = false;
    end_ = RunEnd::kRunning;
    resumedAt_ = executed_;
}

void Run::WatchSlips(SlipChecks* slips, bool recorded) {
    slips_ = slips;
    recordedCalls_ = recorded;
}

RunEnd Run::Slice(std::int64_t instructionBudget) {
    // Chosen once per slice: the plain run's loop has no breakpoint test and no slip check in it
    // at all.
    if (slips_ == nullptr) {
        return breakpoints_ == nullptr ? SliceOf<false, false, false>(instructionBudget)
                                       : SliceOf<true, false, false>(instructionBudget);
    }
    if (recordedCalls_) {
        return breakpoints_ == nullptr ? SliceOf<false, true, true>(instructionBudget)
                                       : SliceOf<true, true, true>(instructionBudget);
    }
    return breakpoints_ == nullptr ? SliceOf<false, true, false>(instructionBudget)
                                   : SliceOf<true, true, false>(instructionBudget);
}

// One function on purpose: with the general path or the fast switch taken out into functions of
// their own, the loop's locals no longer stay in registers and the tight loops run some 15%
// slower (bench/cpu_bench.cpp).
template <bool kWatch, bool kChecks, bool kRecorded>
RunEnd Run::SliceOf(std::int64_t instructionBudget) {
    if (end_ != RunEnd::kRunning) return end_;
    Machine& m = machine_;
    if (m.halted) return Finish(RunEnd::kStackFull, detail::Wrap32(std::int64_t{m.PC} + 1));
    using BaseCore = std::conditional_t<kChecks, detail::TrackedCore<kRecorded>, detail::Core>;
    const auto baseCore = [&] {
        if constexpr (kChecks) {
            return detail::TrackedCore<kRecorded>(m, host_, *slips_);
        } else {
            return detail::Core(m, host_);
        }
    };
    // What the student changed between slices may stand on a breakpoint.
    if constexpr (kWatch) WatchBreakpointOpcodes();
    std::conditional_t<kWatch, BreakpointCore<BaseCore>, BaseCore> core = [&] {
        if constexpr (kWatch) {
            return BreakpointCore<BaseCore>{baseCore(), breakpoints_.get(), breakpointKeys_.get()};
        } else {
            return baseCore();
        }
    }();
    const std::uint16_t* const keys = kWatch ? breakpointKeys_.get() : FastKeys().data();
    // Always an int32 value, held 64 bits wide so that indexing memory needs no widened copy of it
    // beside the address itself.
    std::int64_t a = address_;
    // A negative budget never runs out, as if there were none.
    const std::int64_t budget = instructionBudget < 0 ? kNoLimit : instructionBudget;
    std::int64_t remaining = budget;
    const std::uint8_t* const stops = kWatch ? breakpoints_.get() : nullptr;
    RunEnd end = RunEnd::kRunning;
    while (end == RunEnd::kRunning) {
        // The fast path: an instruction below FFFE (so both operand cells exist) that the switch
        // knows, on no breakpoint. PC is written back only when the slice leaves this path.
        if (static_cast<std::uint64_t>(a) < kMemorySize - 2 && remaining != 0) [[likely]] {
            // 0 (an empty cell), the opcodes not executed and the values outside 0-255 have no
            // key and take the general path.
            const unsigned key =
                keys[static_cast<std::uint16_t>(m.memory[static_cast<std::size_t>(a)])];
            std::int64_t next = a;
            bool fast = true;
            bool halted = false;
            switch (key) {
#define ZORVAN_FAST_CASE(OPERATION, MODE)                               \
    case Key(Operation::OPERATION, MODE) + kOnBreakpoint:               \
        if (kWatch && stops[static_cast<std::size_t>(a)] != 0) {        \
            fast = false;                                               \
            break;                                                      \
        }                                                               \
        [[fallthrough]];                                                \
    case Key(Operation::OPERATION, MODE):                               \
        if constexpr (kRecorded && TellsCalls(Operation::OPERATION))    \
            slips_->AtInstruction(executed_ + (budget - remaining));    \
        next = FastStep<Operation::OPERATION, MODE>(core, a);           \
        if constexpr (MayHalt(Operation::OPERATION)) halted = m.halted; \
        break;
#define ZORVAN_ANY_MODE(OPERATION) \
    ZORVAN_FAST_CASE(OPERATION, 0) \
    ZORVAN_FAST_CASE(OPERATION, 1) \
    ZORVAN_FAST_CASE(OPERATION, 2) \
    ZORVAN_FAST_CASE(OPERATION, 3) \
    ZORVAN_FAST_CASE(OPERATION, 4) \
    ZORVAN_FAST_CASE(OPERATION, 5) \
    ZORVAN_FAST_CASE(OPERATION, 6) \
    ZORVAN_FAST_CASE(OPERATION, 7) \
    ZORVAN_FAST_CASE(OPERATION, 8) \
    ZORVAN_FAST_CASE(OPERATION, 9) \
    ZORVAN_FAST_CASE(OPERATION, 10) ZORVAN_FAST_CASE(OPERATION, 11) ZORVAN_FAST_CASE(OPERATION, 12)
#define ZORVAN_SOLE_MODE(OPERATION) ZORVAN_FAST_CASE(OPERATION, SoleMode(Operation::OPERATION))
                ZORVAN_OPERATIONS_WITH_MODES(ZORVAN_ANY_MODE)
                ZORVAN_OPERATIONS_WITH_ONE_MODE(ZORVAN_SOLE_MODE)
#undef ZORVAN_SOLE_MODE
#undef ZORVAN_ANY_MODE
#undef ZORVAN_FAST_CASE
                case 0:
                    fast = false;
                    break;
                default:
                    // The key table holds nothing else; this spares the switch its range check.
                    __builtin_unreachable();
            }
            if (fast) {
                --remaining;
                a = next;
                if (halted) {
                    core.Store();
                    m.PC = static_cast<std::int32_t>(a);
                    end = Finish(RunEnd::kStackFull, detail::Wrap32(a + 1));
                }
                continue;
            }
        }

        // The general path, every test in order, on the machine itself. A cell outside memory
        // reads 0: the run ends there as at an empty cell.
        if constexpr (kWatch) {
            // The first instruction of the run, or since it passed a breakpoint, is exempt, so
            // that a run resumed on a breakpoint goes on.
            if (Machine::IsAddress(a) && stops[static_cast<std::size_t>(a)] != 0 &&
                executed_ + (budget - remaining) != resumedAt_) {
                core.Store();
                m.PC = static_cast<std::int32_t>(a);
                atBreakpoint_ = true;
                end = Finish(RunEnd::kStopped, static_cast<std::int32_t>(a));
                break;
            }
        }
        core.Store();
        if (remaining != budget) m.PC = static_cast<std::int32_t>(a);
        const int opcode = m.Read(a);
        if (opcode == 0) {
            end = Finish(RunEnd::kEmptyCell, detail::Wrap32(std::int64_t{m.PC} + 1));
            break;
        }
        if (remaining == 0) break;
        const DecodedOpcode d = Decode(opcode);
        // An instruction at FFFF has no operand cell: nothing is presented or restored.
        const bool hasOperand = HasOperandCell(a);
        std::int16_t* const operand =
            hasOperand ? &m.memory[static_cast<std::size_t>(a) + 1] : nullptr;
        if (!d.executed) {
            // The interpreter would return this same address for ever.
            if (operand != nullptr) detail::RestoreOperand(*operand);
            notExecutedOpcode_ = opcode;
            notExecutedAddress_ = static_cast<int>(a);
            end = Finish(RunEnd::kNotExecuted, detail::Wrap32(a + 1));
            break;
        }
        if (operand != nullptr && d.signedOperand) detail::PresentSigned(*operand);
        if constexpr (kRecorded) slips_->AtInstruction(executed_ + (budget - remaining));
        const int next =
            ExecuteInstruction(m, host_, opcode, static_cast<int>(a), kChecks ? slips_ : nullptr);
        if (operand != nullptr) detail::RestoreOperand(*operand);
        --remaining;
        m.PC = next;
        a = next;
        core.Load();
        // Its stores went past the BreakpointCore.
        if constexpr (kWatch) WatchBreakpointOpcodes();
        if (m.halted) end = Finish(RunEnd::kStackFull, detail::Wrap32(std::int64_t{m.PC} + 1));
    }
    core.Store();
    if (remaining != budget && end == RunEnd::kRunning) m.PC = static_cast<std::int32_t>(a);
    address_ = static_cast<int>(a);
    executed_ += budget - remaining;
    return end;
}

RunEnd Run::Stop() {
    if (end_ != RunEnd::kRunning) return end_;
    const RunEnd natural = Slice(0);
    if (natural != RunEnd::kRunning) return natural;
    return Finish(RunEnd::kStopped, address_);
}

RunEnd Run::Finish(RunEnd end, std::int32_t pc) {
    machine_.PC = pc;
    end_ = end;
    return end;
}

RunEnd RunFrom(Machine& machine, MachineHost& host, int start, std::int64_t limit,
               std::int64_t* executed) {
    Run run(machine, host, start);
    const RunEnd end = run.Slice(limit);
    if (executed != nullptr) *executed = run.ExecutedCount();
    if (end != RunEnd::kRunning) return end;
    machine.PC = run.Address();
    return RunEnd::kLimit;
}

}  // namespace zorvan::cpu
