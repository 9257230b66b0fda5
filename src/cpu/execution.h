#pragma once
// The body of one instruction, shared by ExecuteInstruction and the run loop's hot path (which
// inlines it so that a run costs one decode-table look-up and one switch per instruction).
// Internal to src/cpu.

#include <cstdint>
#include <string>

#include "asm/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"

namespace zorvan::cpu::detail {

// Registers are 32-bit and grow without reduction; past their width they wrap as two's complement.
inline std::int32_t Wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(value);
}

inline void SetZN(Machine& m, std::int64_t r) {
    m.status[kZ] = r == 0 ? 1 : 0;
    m.status[kN] = r > 127 ? 1 : 0;
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

inline void RunConsoleRoutine(Machine& m, MachineHost& host, std::int64_t target) {
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
}

// Where a memory mode's operand lies and where the next instruction starts. Immediate is the
// operand cell itself (M = lo). Sums never wrap; an address outside memory reads 0 and a write
// there is dropped. The next address comes out of the same switch as a constant per mode, so that
// it does not wait for a table load.
struct Operand {
    std::int64_t address;
    std::int64_t next;
};

[[gnu::always_inline]] inline Operand Locate(const Machine& m, int mode, std::int64_t at) {
    using namespace assembler;
    const std::int64_t lo = m.Read(at + 1);
    switch (mode) {
        case kImmediate:
            return {at + 1, at + 2};
        case kZeroPage:
            return {lo, at + 2};
        case kZeroPageX:
            return {lo + m.XR, at + 2};
        case kZeroPageY:
            return {lo + m.YR, at + 2};
        case kAbsolute:
            return {std::int64_t{m.Read(at + 2)} * 256 + lo, at + 3};
        case kAbsoluteX:
            return {std::int64_t{m.Read(at + 2)} * 256 + lo + m.XR, at + 3};
        case kAbsoluteY:
            return {std::int64_t{m.Read(at + 2)} * 256 + lo + m.YR, at + 3};
        case kIndirectX: {
            const std::int64_t p = lo + m.XR;
            return {std::int64_t{m.Read(p + 1)} * 256 + m.Read(p), at + 2};
        }
        case kIndirectY:
            return {std::int64_t{m.Read(lo + 1)} * 256 + m.Read(lo) + m.YR, at + 2};
        default:  // accumulator: no cell
            return {-1, at + 1};
    }
}

inline std::int64_t Lo(const Machine& m, std::int64_t at) {
    return m.Read(at + 1);
}
inline std::int64_t Hi(const Machine& m, std::int64_t at) {
    return m.Read(at + 2);
}

// Implied instructions occupy one byte.
inline int AfterImplied(std::int64_t at) {
    return Wrap32(at + 1);
}

// The relative branches and JMP absolute, with their operand byte lo as presented: they write no
// memory and reach no host, so the run loop can hand them lo without lowering the cell.
[[gnu::always_inline]] inline int ExecuteSignedOperand(const Machine& m, const DecodedOpcode& d,
                                                       std::int64_t at, std::int64_t lo) {
    if (d.branchFlag < 0) {
        // JMP absolute: the operand is a displacement from the following instruction.
        return Wrap32(at + 3 + Hi(m, at) * 256 + lo);
    }
    // A real branch rather than a select keeps the next address off the flags' dependency chain.
    if (__builtin_expect(m.status[static_cast<std::size_t>(d.branchFlag)] == d.branchWhen, 1)) {
        return Wrap32(at + 2 + lo);
    }
    return Wrap32(at + 2);
}

// Register-to-register and implied instructions set Z/N from the destination.
inline int Load(Machine& m, std::int32_t& reg, std::int64_t value, std::int64_t next) {
    reg = Wrap32(value);
    SetZN(m, reg);
    return Wrap32(next);
}

// ASL, LSR, ROL and ROR work on AC in accumulator mode and on the cell otherwise; each returns
// the value to store and sets C.
enum class Shift { kAsl, kLsr, kRol, kRor };

[[gnu::always_inline]] inline int ExecuteShift(Machine& m, Shift shift, int mode, std::int64_t at) {
    const bool onAccumulator = mode == assembler::kAccumulator;
    const Operand where = Locate(m, mode, at);
    const std::int64_t v = onAccumulator ? std::int64_t{m.AC} : std::int64_t{m.Read(where.address)};
    std::int64_t result = 0;
    switch (shift) {
        case Shift::kAsl:
            m.status[kC] = v > 127 ? 1 : 0;
            result = v * 2;
            break;
        case Shift::kLsr:
            m.status[kC] = static_cast<int>(v & 1);
            result = v >> 1;
            break;
        case Shift::kRol: {
            const int carry = v > 127 ? 1 : 0;
            m.status[kC] = carry;
            result = v * 2 + carry;
            break;
        }
        case Shift::kRor: {
            const int carry = static_cast<int>(v & 1);
            m.status[kC] = carry;
            result = (v >> 1) + carry;
            break;
        }
    }
    if (!onAccumulator) {
        m.Write(where.address, result);
        return Wrap32(where.next);
    }
    m.AC = Wrap32(result);
    if (shift == Shift::kAsl || shift == Shift::kRor) {
        // These two only ever set Z and N.
        if (m.AC == 0) m.status[kZ] = 1;
        if (m.AC > 127) m.status[kN] = 1;
    } else {
        SetZN(m, m.AC);
    }
    return Wrap32(where.next);
}

// Executes one decoded instruction at address a and returns the next address.
[[gnu::always_inline]] inline int Execute(Machine& m, MachineHost& host, const DecodedOpcode& d,
                                          int a) {
    const Operation operation = d.operation;
    const int mode = d.mode;
    const std::int64_t at = a;

    switch (operation) {
        case Operation::kLda: {
            const Operand o = Locate(m, mode, at);
            return Load(m, m.AC, m.Read(o.address), o.next);
        }
        case Operation::kLdx: {
            const Operand o = Locate(m, mode, at);
            return Load(m, m.XR, m.Read(o.address), o.next);
        }
        case Operation::kLdy: {
            const Operand o = Locate(m, mode, at);
            return Load(m, m.YR, m.Read(o.address), o.next);
        }
        case Operation::kSta: {
            const Operand o = Locate(m, mode, at);
            m.Write(o.address, m.AC);
            return Wrap32(o.next);
        }
        case Operation::kStx: {
            const Operand o = Locate(m, mode, at);
            m.Write(o.address, m.XR);
            return Wrap32(o.next);
        }
        case Operation::kSty: {
            const Operand o = Locate(m, mode, at);
            m.Write(o.address, m.YR);
            return Wrap32(o.next);
        }
        case Operation::kTax:
            return Load(m, m.XR, m.AC, at + 1);
        case Operation::kTay:
            return Load(m, m.YR, m.AC, at + 1);
        case Operation::kTxa:
            return Load(m, m.AC, m.XR, at + 1);
        case Operation::kTya:
            return Load(m, m.AC, m.YR, at + 1);
        case Operation::kTsx:
            return Load(m, m.XR, m.PackStatus(), at + 1);
        case Operation::kTxs:
            m.UnpackStatus(m.XR);
            return AfterImplied(at);
        case Operation::kAnd: {
            const Operand o = Locate(m, mode, at);
            return Load(m, m.AC, m.AC & m.Read(o.address), o.next);
        }
        case Operation::kOra: {
            const Operand o = Locate(m, mode, at);
            return Load(m, m.AC, m.AC | m.Read(o.address), o.next);
        }
        case Operation::kEor: {
            const Operand o = Locate(m, mode, at);
            return Load(m, m.AC, m.AC ^ m.Read(o.address), o.next);
        }
        case Operation::kBit: {
            const Operand o = Locate(m, mode, at);
            m.status[kZ] = (m.Read(o.address) & m.AC) == 0 ? 1 : 0;
            return Wrap32(o.next);
        }
        case Operation::kAdc: {
            const Operand o = Locate(m, mode, at);
            const std::int64_t ac = m.AC;
            const std::int64_t value = m.Read(o.address);
            std::int64_t r = ac + value + m.status[kC];
            if (r > 255) {
                r -= 256;
                m.status[kC] = 1;
            }
            m.status[kV] =
                (ac <= 127 && value <= 127 && r > 127) || (ac > 127 && value > 127 && r <= 127) ? 1
                                                                                                : 0;
            return Load(m, m.AC, r, o.next);
        }
        case Operation::kSbc: {
            const Operand o = Locate(m, mode, at);
            const std::int64_t ac = m.AC;
            const std::int64_t value = m.Read(o.address);
            std::int64_t r = ac - value - (m.status[kC] == 0 ? 1 : 0);
            if (r > 0) {
                m.status[kC] = 1;
            } else if (r < 0) {
                r += 256;
                m.status[kC] = 0;
            }
            m.status[kV] =
                (ac > 127 && value <= 127 && r <= 127) || (ac <= 127 && value > 127 && r > 127) ? 1
                                                                                                : 0;
            return Load(m, m.AC, r, o.next);
        }
        case Operation::kCmp:
        case Operation::kCpx:
        case Operation::kCpy: {
            const Operand o = Locate(m, mode, at);
            const std::int64_t reg = operation == Operation::kCmp   ? m.AC
                                     : operation == Operation::kCpx ? m.XR
                                                                    : m.YR;
            const std::int64_t value = m.Read(o.address);
            m.status[kC] = reg >= value ? 1 : 0;
            m.status[kZ] = reg == value ? 1 : 0;
            m.status[kN] = reg < value ? 1 : 0;
            return Wrap32(o.next);
        }
        // Counting registers wrap within 00-FF: above 255 becomes 0, below 0 becomes 255.
        case Operation::kInx:
            return Load(m, m.XR, m.XR >= 255 ? 0 : m.XR + 1, at + 1);
        case Operation::kIny:
            return Load(m, m.YR, m.YR >= 255 ? 0 : m.YR + 1, at + 1);
        case Operation::kDex:
            return Load(m, m.XR, m.XR <= 0 ? 255 : m.XR - 1, at + 1);
        case Operation::kDey:
            return Load(m, m.YR, m.YR <= 0 ? 255 : m.YR - 1, at + 1);
        case Operation::kInc: {
            const Operand o = Locate(m, mode, at);
            m.Write(o.address, std::int64_t{m.Read(o.address)} + 1);
            return Wrap32(o.next);
        }
        case Operation::kDec: {
            const Operand o = Locate(m, mode, at);
            m.Write(o.address, std::int64_t{m.Read(o.address)} - 1);
            return Wrap32(o.next);
        }
        case Operation::kAsl:
            return ExecuteShift(m, Shift::kAsl, mode, at);
        case Operation::kLsr:
            return ExecuteShift(m, Shift::kLsr, mode, at);
        case Operation::kRol:
            return ExecuteShift(m, Shift::kRol, mode, at);
        case Operation::kRor:
            return ExecuteShift(m, Shift::kRor, mode, at);
        case Operation::kClc:
            m.status[kC] = 0;
            return AfterImplied(at);
        case Operation::kSec:
            m.status[kC] = 1;
            return AfterImplied(at);
        case Operation::kClv:
            m.status[kV] = 0;
            return AfterImplied(at);
        case Operation::kNop:
            return AfterImplied(at);
        case Operation::kBcc:
        case Operation::kBcs:
        case Operation::kBeq:
        case Operation::kBne:
        case Operation::kBmi:
        case Operation::kBpl:
        case Operation::kBvc:
        case Operation::kBvs:
            return ExecuteSignedOperand(m, d, at, Lo(m, at));
        case Operation::kJmp:
            if (mode == assembler::kIndirect) {
                const std::int64_t p = Hi(m, at) * 256 + Lo(m, at);
                return Wrap32(std::int64_t{m.Read(p + 1)} * 256 + m.Read(p));
            }
            return ExecuteSignedOperand(m, d, at, Lo(m, at));
        case Operation::kJsr: {
            // One return-address field, not the stack: a nested JSR overwrites it.
            const std::int64_t target = Hi(m, at) * 256 + Lo(m, at);
            m.returnAddress = Wrap32(at + 3);
            if (target >= kPrintTextRoutine && target <= kShowCharacterRoutine) {
                RunConsoleRoutine(m, host, target);
            }
            return Wrap32(target);
        }
        case Operation::kRts:
            return m.returnAddress;
        case Operation::kPha:
            if (m.SP == 0) {
                m.halted = true;
                host.StackFull();
                return a;  // the PHA itself
            }
            m.Write(std::int64_t{kStackPage} + m.SP, m.AC);
            m.SP = Wrap32(std::int64_t{m.SP} - 1);
            return AfterImplied(at);
        case Operation::kPhp:
            if (m.SP == 0) {
                m.halted = true;
                host.StackFull();
                return AfterImplied(at);
            }
            m.Write(std::int64_t{kStackPage} + m.SP, m.PackStatus());
            m.SP = Wrap32(std::int64_t{m.SP} - 1);
            return AfterImplied(at);
        case Operation::kPla:
            // N and Z keep their values.
            if (m.SP < 255) {
                m.SP = m.SP + 1;
                m.AC = m.Read(std::int64_t{kStackPage} + m.SP);
            }
            return AfterImplied(at);
        case Operation::kPlp:
            if (m.SP < 255) {
                m.SP = m.SP + 1;
                m.UnpackStatus(m.Read(std::int64_t{kStackPage} + m.SP));
            }
            return AfterImplied(at);
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
