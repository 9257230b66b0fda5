#pragma once
// The body of one instruction, shared by ExecuteInstruction and the run loop's hot path. Both work
// on a Core: the registers and the four flags that instructions test, copied out of the machine
// into locals so that a run keeps them in processor registers for a whole slice. The run loop
// calls Execute with a constant operation and mode, so each case compiles to straight-line code.
// Internal to src/cpu.

#include <cstdint>
#include <string>

#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/slip_checks.h"

// Forced inlining lets the optimiser fold each case of the run loop's switch to its own few
// instructions. An unoptimised build (the sanitizer pass) cannot fold, and would instead copy the
// whole interpreter into every case: there these are plain functions.
#if defined(__OPTIMIZE__)
#define ZORVAN_HOT [[gnu::always_inline]] inline
#else
#define ZORVAN_HOT inline
#endif

namespace zorvan::cpu::detail {

// Registers are 32-bit and grow without reduction; past their width they wrap as two's complement.
inline std::int32_t Wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(value);
}

// Before the instruction: a branch's or JMP absolute's operand cell outside -128..127 is lowered
// by 256, so that a stored offset 80-FF reads as -128..-1. The operand cell must exist.
inline void PresentSigned(std::int16_t& cell) {
    if (cell < -128 || cell > 127) cell = static_cast<std::int16_t>(cell - 256);
}

// After any instruction: a negative operand cell is raised by 256, which restores the byte the
// presentation lowered (and raises any other negative value found there).
inline void RestoreOperand(std::int16_t& cell) {
    if (cell < 0) cell = static_cast<std::int16_t>(cell + 256);
}

void PrintTextRoutine(Machine& m, MachineHost& host);

// The machine as an instruction sees it. AC, XR, YR, SP and N, V, Z, C are copies: Load takes
// them from the machine, Store puts them back. Z and N are held as the values they were last
// computed from (see zSource), so that the many instructions that set both from one result spend
// two moves on it instead of two compares. The other four status bits, the memory, the halt flag
// and the return address stay in the machine (only JSR and RTS touch the return address; a copy
// would cost the run loop a register for the whole slice, which a run watching for slips has
// none to spare of). Anything that leaves the core (the host, the
// packed status byte) sees a stored machine. Every member is inlined: a call that took the Core's
// address would pin its copies in memory for the whole run.
struct Core {
    Machine& m;
    MachineHost& host;
    std::int32_t AC = 0, XR = 0, YR = 0, SP = 0;
    std::int32_t V = 0, C = 0;
    // Z is 1 exactly when zSource is 0; N is 1 exactly when nSource is above 127. The status
    // bits are 0 or 1 wherever the machine is written (the register fields and the unpacking
    // give nothing else), which is what this form holds.
    std::int32_t zSource = 1, nSource = 0;

    Core(Machine& machine, MachineHost& machineHost) : m(machine), host(machineHost) { Load(); }

    ZORVAN_HOT void Load() {
        AC = m.AC;
        XR = m.XR;
        YR = m.YR;
        SP = m.SP;
        LoadFlags();
    }
    ZORVAN_HOT void Store() const {
        m.AC = AC;
        m.XR = XR;
        m.YR = YR;
        m.SP = SP;
        StoreFlags();
    }
    ZORVAN_HOT void LoadFlags() {
        SetN(m.status[kN] == 1);
        V = m.status[kV];
        SetZ(m.status[kZ] == 1);
        C = m.status[kC];
    }
    ZORVAN_HOT void StoreFlags() const {
        m.status[kN] = N();
        m.status[kV] = V;
        m.status[kZ] = Z();
        m.status[kC] = C;
    }

    // A read outside 0000-FFFF gives 0 and a write there is dropped; a write keeps the low 16
    // bits. One unsigned compare, which the run loop's own range test often removes.
    ZORVAN_HOT std::int32_t Read(std::int64_t address) const {
        return static_cast<std::uint64_t>(address) < kMemorySize ? m.memory[address] : 0;
    }
    ZORVAN_HOT void Write(std::int64_t address, std::int64_t value) {
        if (static_cast<std::uint64_t>(address) < kMemorySize)
            m.memory[address] = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }

    ZORVAN_HOT int PackStatus() const {
        StoreFlags();
        return m.PackStatus();
    }
    ZORVAN_HOT void UnpackStatus(std::int64_t byte) {
        m.UnpackStatus(byte);
        LoadFlags();
    }

    ZORVAN_HOT int Z() const { return zSource == 0 ? 1 : 0; }
    ZORVAN_HOT int N() const { return nSource > 127 ? 1 : 0; }
    ZORVAN_HOT void SetZ(bool z) { zSource = z ? 0 : 1; }
    ZORVAN_HOT void SetN(bool n) { nSource = n ? 128 : 0; }
    // Z := 1 when r = 0, else 0; N := 1 when r > 127, else 0.
    ZORVAN_HOT void SetZN(std::int32_t r) {
        zSource = r;
        nSource = r;
    }

    // The host may read or change the machine (a console sets AC); it sees it whole.
    ZORVAN_HOT void RunConsoleRoutine(std::int64_t target) {
        Store();
        switch (target) {
            case kShowCharacterRoutine:
                host.ShowCharacter(m.AC);
                break;
            case kAskForAccumulatorRoutine:
                host.AskForAccumulator();
                break;
            case kClearConsoleRoutine:
                host.ClearConsole();
                break;
            case kPrintTextRoutine:
                PrintTextRoutine(m, host);
                break;
            default:
                break;
        }
        Load();
    }
    ZORVAN_HOT void StackFull() {
        m.halted = true;
        Store();
        host.StackFull();
        Load();
    }

    // A read by the instruction at `at`, as a run that watches for slips tells it (TrackedCore).
    ZORVAN_HOT std::int32_t ReadFor(std::int64_t, std::int64_t address) const {
        return Read(address);
    }
    // Before a JSR at `at` sets the return address, and before an RTS: nothing here.
    ZORVAN_HOT void Calling(std::int64_t) {}
    ZORVAN_HOT void Returning(std::int64_t) {}
};

// The Core of a run that watches for slips: its reads of 0, its writes of 0 and its calls are
// told to the SlipChecks (kMayRecord: see SlipChecks::Called). Every function below takes either
// kind of core.
template <bool kMayRecord = true>
struct TrackedCore : Core {
    SlipChecks& slips;

    TrackedCore(Machine& machine, MachineHost& machineHost, SlipChecks& slipChecks)
        : Core(machine, machineHost), slips(slipChecks) {}

    // The instruction's own operand bytes are fetched, not read: a slip there is PC's.
    ZORVAN_HOT std::int32_t ReadFor(std::int64_t at, std::int64_t address) const {
        if (static_cast<std::uint64_t>(address) >= kMemorySize) return 0;
        const std::int32_t value = m.memory[address];
        // Unlikely, so that the checks' rare paths take no register from the run loop.
        if (value == 0 && static_cast<std::uint64_t>(address - at - 1) >= 2) [[unlikely]]
            slips.ReadZero(at, address);
        return value;
    }
    ZORVAN_HOT void Write(std::int64_t address, std::int64_t value) {
        Core::Write(address, value);
        if (static_cast<std::uint16_t>(value) == 0) [[unlikely]]
            slips.WroteZero(address);
    }
    ZORVAN_HOT void Calling(std::int64_t at) {
        slips.template Called<kMayRecord>(at, SP, m.returnAddress);
    }
    ZORVAN_HOT void Returning(std::int64_t at) {
        slips.template Returned<kMayRecord>(at, SP, m.returnAddress);
    }
};

// Where a memory mode's operand lies, for an instruction at `at` with the index registers xr and
// yr; read(address) gives a cell. Immediate is the operand cell itself (M = lo). Sums never wrap;
// an address outside memory reads 0 and a write there is dropped. -1 for a mode with no cell.
// The interpreter reads the machine; the step sentence reads the cells as they were before.
template <typename ReadCell>
ZORVAN_HOT std::int64_t OperandAddress(int mode, std::int64_t at, std::int64_t xr, std::int64_t yr,
                                       const ReadCell& read) {
    const std::int64_t lo = read(at + 1);
    switch (mode) {
        case kImmediate:
            return at + 1;
        case kZeroPage:
            return lo;
        case kZeroPageX:
            return lo + xr;
        case kZeroPageY:
            return lo + yr;
        case kAbsolute:
            return read(at + 2) * 256 + lo;
        case kAbsoluteX:
            return read(at + 2) * 256 + lo + xr;
        case kAbsoluteY:
            return read(at + 2) * 256 + lo + yr;
        case kIndirectX:
            return read(lo + xr + 1) * 256 + read(lo + xr);
        case kIndirectY:
            return read(lo + 1) * 256 + read(lo) + yr;
        default:  // no cell
            return -1;
    }
}

ZORVAN_HOT std::int64_t Locate(const auto& c, int mode, std::int64_t at) {
    return OperandAddress(mode, at, c.XR, c.YR, [&c, at](std::int64_t address) {
        return std::int64_t{c.ReadFor(at, address)};
    });
}

// The operand value M of a memory mode.
ZORVAN_HOT std::int64_t Operand(const auto& c, int mode, std::int64_t at) {
    return c.ReadFor(at, Locate(c, mode, at));
}

inline std::int64_t Lo(const auto& c, std::int64_t at) {
    return c.Read(at + 1);
}
inline std::int64_t Hi(const auto& c, std::int64_t at) {
    return c.Read(at + 2);
}

ZORVAN_HOT bool BranchTaken(const auto& c, Operation operation) {
    return cpu::BranchTaken(operation, c.N() == 1, c.V, c.Z() == 1, c.C);
}

// The relative branches and JMP absolute, with their operand byte lo as presented: they write no
// memory and reach no host, so the run loop can hand them lo without lowering the cell.
ZORVAN_HOT int ExecuteSignedOperand(const auto& c, Operation operation, std::int64_t at,
                                    std::int64_t lo) {
    if (operation == Operation::kJmp) {
        // The operand is a displacement from the following instruction.
        return Wrap32(at + 3 + Hi(c, at) * 256 + lo);
    }
    return Wrap32(BranchTaken(c, operation) ? at + 2 + lo : at + 2);
}

// A register loaded with a value (a load, a transfer, a count, a logic or arithmetic result):
// Z and N follow the new value. Returns next, the instruction's following address.
ZORVAN_HOT int LoadRegister(auto& c, std::int32_t& reg, std::int64_t value, std::int64_t next) {
    reg = Wrap32(value);
    c.SetZN(reg);
    return Wrap32(next);
}

// ASL, LSR, ROL and ROR work on AC in accumulator mode and on the cell otherwise.
enum class Shift { kAsl, kLsr, kRol, kRor };

ZORVAN_HOT int ExecuteShift(auto& c, Shift shift, int mode, std::int64_t at, std::int64_t next) {
    const bool onAccumulator = mode == kAccumulator;
    // Not located on AC: the cell after the instruction is no operand of it.
    const std::int64_t address = onAccumulator ? -1 : Locate(c, mode, at);
    const std::int64_t v =
        onAccumulator ? std::int64_t{c.AC} : std::int64_t{c.ReadFor(at, address)};
    std::int64_t result = 0;
    switch (shift) {
        case Shift::kAsl:
            c.C = v > 127 ? 1 : 0;
            result = v * 2;
            break;
        case Shift::kLsr:
            c.C = static_cast<int>(v & 1);
            result = v >> 1;
            break;
        case Shift::kRol:
            c.C = v > 127 ? 1 : 0;
            result = v * 2 + c.C;
            break;
        case Shift::kRor:
            c.C = static_cast<int>(v & 1);
            result = (v >> 1) + c.C;
            break;
    }
    if (!onAccumulator) {
        c.Write(address, result);
        return Wrap32(next);
    }
    c.AC = Wrap32(result);
    if (shift == Shift::kAsl || shift == Shift::kRor) {
        // These two only ever set Z and N.
        if (c.AC == 0) c.SetZ(true);
        if (c.AC > 127) c.SetN(true);
    } else {
        c.SetZN(c.AC);
    }
    return Wrap32(next);
}

// Executes one executed instruction (operation in mode) at address a and returns the next
// address. The caller has presented a signed operand already.
ZORVAN_HOT int Execute(auto& c, Operation operation, int mode, int a) {
    const std::int64_t at = a;
    const std::int64_t next = at + ModeLength(mode);

    switch (operation) {
        case Operation::kLda:
            return LoadRegister(c, c.AC, Operand(c, mode, at), next);
        case Operation::kLdx:
            return LoadRegister(c, c.XR, Operand(c, mode, at), next);
        case Operation::kLdy:
            return LoadRegister(c, c.YR, Operand(c, mode, at), next);
        case Operation::kSta:
            c.Write(Locate(c, mode, at), c.AC);
            return Wrap32(next);
        case Operation::kStx:
            c.Write(Locate(c, mode, at), c.XR);
            return Wrap32(next);
        case Operation::kSty:
            c.Write(Locate(c, mode, at), c.YR);
            return Wrap32(next);
        case Operation::kTax:
            return LoadRegister(c, c.XR, c.AC, next);
        case Operation::kTay:
            return LoadRegister(c, c.YR, c.AC, next);
        case Operation::kTxa:
            return LoadRegister(c, c.AC, c.XR, next);
        case Operation::kTya:
            return LoadRegister(c, c.AC, c.YR, next);
        case Operation::kTsx:
            return LoadRegister(c, c.XR, c.PackStatus(), next);
        case Operation::kTxs:
            c.UnpackStatus(c.XR);
            return Wrap32(next);
        case Operation::kAnd:
            return LoadRegister(c, c.AC, c.AC & Operand(c, mode, at), next);
        case Operation::kOra:
            return LoadRegister(c, c.AC, c.AC | Operand(c, mode, at), next);
        case Operation::kEor:
            return LoadRegister(c, c.AC, c.AC ^ Operand(c, mode, at), next);
        case Operation::kBit:
            c.SetZ((Operand(c, mode, at) & c.AC) == 0);
            return Wrap32(next);
        case Operation::kAdc: {
            const std::int64_t ac = c.AC;
            const std::int64_t value = Operand(c, mode, at);
            std::int64_t r = ac + value + c.C;
            if (r > 255) {
                r -= 256;
                c.C = 1;
            }
            // Both operands on one side of 127 and the result on the other. Plain & and != on
            // the three comparisons: no branches in the hot path.
            const bool acHigh = ac > 127, valueHigh = value > 127, rHigh = r > 127;
            c.V = static_cast<int>((acHigh == valueHigh) & (rHigh != acHigh));
            return LoadRegister(c, c.AC, r, next);
        }
        case Operation::kSbc: {
            const std::int64_t ac = c.AC;
            const std::int64_t value = Operand(c, mode, at);
            std::int64_t r = ac - value - (c.C == 0 ? 1 : 0);
            if (r > 0) {
                c.C = 1;
            } else if (r < 0) {
                r += 256;
                c.C = 0;
            }
            // The operands on opposite sides of 127 and the result on the value's side.
            const bool acHigh = ac > 127, valueHigh = value > 127, rHigh = r > 127;
            c.V = static_cast<int>((acHigh != valueHigh) & (rHigh == valueHigh));
            return LoadRegister(c, c.AC, r, next);
        }
        case Operation::kCmp:
        case Operation::kCpx:
        case Operation::kCpy: {
            const std::int64_t reg = operation == Operation::kCmp   ? c.AC
                                     : operation == Operation::kCpx ? c.XR
                                                                    : c.YR;
            const std::int64_t value = Operand(c, mode, at);
            c.C = reg >= value ? 1 : 0;
            c.SetZ(reg == value);
            c.SetN(reg < value);
            return Wrap32(next);
        }
        // Counting registers wrap within 00-FF: above 255 becomes 0, below 0 becomes 255.
        case Operation::kInx:
            return LoadRegister(c, c.XR, c.XR >= 255 ? 0 : c.XR + 1, next);
        case Operation::kIny:
            return LoadRegister(c, c.YR, c.YR >= 255 ? 0 : c.YR + 1, next);
        case Operation::kDex:
            return LoadRegister(c, c.XR, c.XR <= 0 ? 255 : c.XR - 1, next);
        case Operation::kDey:
            return LoadRegister(c, c.YR, c.YR <= 0 ? 255 : c.YR - 1, next);
        case Operation::kInc: {
            const std::int64_t address = Locate(c, mode, at);
            c.Write(address, std::int64_t{c.ReadFor(at, address)} + 1);
            return Wrap32(next);
        }
        case Operation::kDec: {
            const std::int64_t address = Locate(c, mode, at);
            c.Write(address, std::int64_t{c.ReadFor(at, address)} - 1);
            return Wrap32(next);
        }
        case Operation::kAsl:
            return ExecuteShift(c, Shift::kAsl, mode, at, next);
        case Operation::kLsr:
            return ExecuteShift(c, Shift::kLsr, mode, at, next);
        case Operation::kRol:
            return ExecuteShift(c, Shift::kRol, mode, at, next);
        case Operation::kRor:
            return ExecuteShift(c, Shift::kRor, mode, at, next);
        case Operation::kClc:
            c.C = 0;
            return Wrap32(next);
        case Operation::kSec:
            c.C = 1;
            return Wrap32(next);
        case Operation::kClv:
            c.V = 0;
            return Wrap32(next);
        case Operation::kNop:
            return Wrap32(next);
        case Operation::kBcc:
        case Operation::kBcs:
        case Operation::kBeq:
        case Operation::kBne:
        case Operation::kBmi:
        case Operation::kBpl:
        case Operation::kBvc:
        case Operation::kBvs:
            return ExecuteSignedOperand(c, operation, at, Lo(c, at));
        case Operation::kJmp:
            if (mode == kIndirect) {
                const std::int64_t p = Hi(c, at) * 256 + Lo(c, at);
                return Wrap32(std::int64_t{c.ReadFor(at, p + 1)} * 256 + c.ReadFor(at, p));
            }
            return ExecuteSignedOperand(c, operation, at, Lo(c, at));
        case Operation::kJsr: {
            // One return-address field, not the stack: a nested JSR overwrites it.
            const std::int64_t target = Hi(c, at) * 256 + Lo(c, at);
            c.Calling(at);
            c.m.returnAddress = Wrap32(next);
            if (IsConsoleRoutine(target)) c.RunConsoleRoutine(target);
            return Wrap32(target);
        }
        case Operation::kRts:
            c.Returning(at);
            return c.m.returnAddress;
        case Operation::kPha:
            if (c.SP == 0) {
                c.StackFull();
                return a;  // the PHA itself
            }
            c.Write(std::int64_t{kStackPage} + c.SP, c.AC);
            c.SP = Wrap32(std::int64_t{c.SP} - 1);
            return Wrap32(next);
        case Operation::kPhp:
            if (c.SP == 0) {
                c.StackFull();
                return Wrap32(next);
            }
            c.Write(std::int64_t{kStackPage} + c.SP, c.PackStatus());
            c.SP = Wrap32(std::int64_t{c.SP} - 1);
            return Wrap32(next);
        case Operation::kPla:
            // N and Z keep their values.
            if (c.SP < 255) {
                c.SP = c.SP + 1;
                c.AC = c.ReadFor(at, std::int64_t{kStackPage} + c.SP);
            }
            return Wrap32(next);
        case Operation::kPlp:
            if (c.SP < 255) {
                c.SP = c.SP + 1;
                c.UnpackStatus(c.ReadFor(at, std::int64_t{kStackPage} + c.SP));
            }
            return Wrap32(next);
        case Operation::kBrk:
        case Operation::kRti:
        case Operation::kCli:
        case Operation::kSei:
        case Operation::kCld:
        case Operation::kSed:
            break;
        default:
            // Every Operation is listed above; this spares the switch its range check.
            __builtin_unreachable();
    }
    return a;  // not executed: nothing changes
}

}  // namespace zorvan::cpu::detail
