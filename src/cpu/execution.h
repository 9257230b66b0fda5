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
inline void PresentSigned(Machine& m, int operandAddress) {
    std::int16_t& cell = m.memory[static_cast<std::size_t>(operandAddress)];
    if (cell < -128 || cell > 127) cell = static_cast<std::int16_t>(cell - 256);
}

// After any instruction: a negative operand cell is raised by 256, which restores the byte the
// presentation lowered (and raises any other negative value found there).
inline void RestoreOperand(Machine& m, int operandAddress) {
    std::int16_t& cell = m.memory[static_cast<std::size_t>(operandAddress)];
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

// M for the modes that read an operand: immediate gives lo itself, the others the cell at the
// effective address. Sums never wrap; an address outside memory reads 0.
inline std::int64_t EffectiveAddress(const Machine& m, int mode, std::int64_t lo, std::int64_t hi) {
    using namespace assembler;
    switch (mode) {
        case kZeroPage:
            return lo;
        case kZeroPageX:
            return lo + m.XR;
        case kZeroPageY:
            return lo + m.YR;
        case kAbsolute:
            return hi * 256 + lo;
        case kAbsoluteX:
            return hi * 256 + lo + m.XR;
        case kAbsoluteY:
            return hi * 256 + lo + m.YR;
        case kIndirectX: {
            const std::int64_t p = lo + m.XR;
            return std::int64_t{m.Read(p + 1)} * 256 + m.Read(p);
        }
        case kIndirectY:
            return std::int64_t{m.Read(lo + 1)} * 256 + m.Read(lo) + m.YR;
        default:
            return -1;  // no cell: reads 0, writes dropped
    }
}

inline std::int64_t OperandValue(const Machine& m, int mode, std::int64_t lo, std::int64_t hi) {
    if (mode == assembler::kImmediate) return lo;
    return m.Read(EffectiveAddress(m, mode, lo, hi));
}

// Executes one decoded instruction at address a and returns the next address. d must be an
// executed opcode.
[[gnu::always_inline]] inline int Execute(Machine& m, MachineHost& host, DecodedOpcode d, int a) {
    const std::int64_t at = a;
    const std::int64_t next = at + d.length;
    const int mode = d.mode;
    // Operand cells, as the integers they hold.
    auto lo = [&] { return std::int64_t{m.Read(at + 1)}; };
    auto hi = [&] { return std::int64_t{m.Read(at + 2)}; };
    auto operand = [&] { return OperandValue(m, mode, lo(), d.length == 3 ? hi() : 0); };
    auto address = [&] { return EffectiveAddress(m, mode, lo(), d.length == 3 ? hi() : 0); };
    auto branch = [&](bool taken) { return taken ? Wrap32(at + 2 + lo()) : Wrap32(next); };

    // Shifts and rotates work on AC in accumulator mode and on the cell otherwise.
    const bool onAccumulator = mode == assembler::kAccumulator;
    auto shiftTarget = [&] { return onAccumulator ? -1 : address(); };
    auto loadShifted = [&](std::int64_t ea) {
        return onAccumulator ? std::int64_t{m.AC} : std::int64_t{m.Read(ea)};
    };
    auto storeShifted = [&](std::int64_t ea, std::int64_t v) {
        if (onAccumulator) {
            m.AC = Wrap32(v);
        } else {
            m.Write(ea, v);
        }
    };

    switch (d.operation) {
        case Operation::kLda:
            m.AC = static_cast<std::int32_t>(operand());
            SetZN(m, m.AC);
            break;
        case Operation::kLdx:
            m.XR = static_cast<std::int32_t>(operand());
            SetZN(m, m.XR);
            break;
        case Operation::kLdy:
            m.YR = static_cast<std::int32_t>(operand());
            SetZN(m, m.YR);
            break;
        case Operation::kSta:
            m.Write(address(), m.AC);
            break;
        case Operation::kStx:
            m.Write(address(), m.XR);
            break;
        case Operation::kSty:
            m.Write(address(), m.YR);
            break;
        case Operation::kTax:
            m.XR = m.AC;
            SetZN(m, m.XR);
            break;
        case Operation::kTay:
            m.YR = m.AC;
            SetZN(m, m.YR);
            break;
        case Operation::kTxa:
            m.AC = m.XR;
            SetZN(m, m.AC);
            break;
        case Operation::kTya:
            m.AC = m.YR;
            SetZN(m, m.AC);
            break;
        case Operation::kTsx:
            m.XR = m.PackStatus();
            SetZN(m, m.XR);
            break;
        case Operation::kTxs:
            m.UnpackStatus(m.XR);
            break;
        case Operation::kAnd:
            m.AC = Wrap32(m.AC & operand());
            SetZN(m, m.AC);
            break;
        case Operation::kOra:
            m.AC = Wrap32(m.AC | operand());
            SetZN(m, m.AC);
            break;
        case Operation::kEor:
            m.AC = Wrap32(m.AC ^ operand());
            SetZN(m, m.AC);
            break;
        case Operation::kBit:
            m.status[kZ] = (operand() & m.AC) == 0 ? 1 : 0;
            break;
        case Operation::kAdc: {
            const std::int64_t ac = m.AC;
            const std::int64_t value = operand();
            std::int64_t r = ac + value + m.status[kC];
            if (r > 255) {
                r -= 256;
                m.status[kC] = 1;
            }
            m.status[kV] =
                (ac <= 127 && value <= 127 && r > 127) || (ac > 127 && value > 127 && r <= 127) ? 1
                                                                                                : 0;
            m.AC = Wrap32(r);
            SetZN(m, m.AC);
            break;
        }
        case Operation::kSbc: {
            const std::int64_t ac = m.AC;
            const std::int64_t value = operand();
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
            m.AC = Wrap32(r);
            SetZN(m, m.AC);
            break;
        }
        case Operation::kCmp:
        case Operation::kCpx:
        case Operation::kCpy: {
            const std::int64_t reg = d.operation == Operation::kCmp   ? m.AC
                                     : d.operation == Operation::kCpx ? m.XR
                                                                      : m.YR;
            const std::int64_t value = operand();
            m.status[kC] = reg >= value ? 1 : 0;
            m.status[kZ] = reg == value ? 1 : 0;
            m.status[kN] = reg < value ? 1 : 0;
            break;
        }
        case Operation::kInx:
            m.XR = m.XR >= 255 ? 0 : m.XR + 1;
            SetZN(m, m.XR);
            break;
        case Operation::kIny:
            m.YR = m.YR >= 255 ? 0 : m.YR + 1;
            SetZN(m, m.YR);
            break;
        case Operation::kDex:
            m.XR = m.XR <= 0 ? 255 : m.XR - 1;
            SetZN(m, m.XR);
            break;
        case Operation::kDey:
            m.YR = m.YR <= 0 ? 255 : m.YR - 1;
            SetZN(m, m.YR);
            break;
        case Operation::kInc: {
            const std::int64_t ea = address();
            m.Write(ea, std::int64_t{m.Read(ea)} + 1);
            break;
        }
        case Operation::kDec: {
            const std::int64_t ea = address();
            m.Write(ea, std::int64_t{m.Read(ea)} - 1);
            break;
        }
        case Operation::kAsl: {
            const std::int64_t ea = shiftTarget();
            const std::int64_t v = loadShifted(ea);
            m.status[kC] = v > 127 ? 1 : 0;
            storeShifted(ea, v * 2);
            if (onAccumulator) {
                if (m.AC == 0) m.status[kZ] = 1;
                if (m.AC > 127) m.status[kN] = 1;
            }
            break;
        }
        case Operation::kLsr: {
            const std::int64_t ea = shiftTarget();
            const std::int64_t v = loadShifted(ea);
            m.status[kC] = static_cast<int>(v & 1);
            storeShifted(ea, v >> 1);
            if (onAccumulator) SetZN(m, m.AC);
            break;
        }
        case Operation::kRol: {
            const std::int64_t ea = shiftTarget();
            const std::int64_t v = loadShifted(ea);
            const int carry = v > 127 ? 1 : 0;
            m.status[kC] = carry;
            storeShifted(ea, v * 2 + carry);
            if (onAccumulator) SetZN(m, m.AC);
            break;
        }
        case Operation::kRor: {
            const std::int64_t ea = shiftTarget();
            const std::int64_t v = loadShifted(ea);
            const int carry = static_cast<int>(v & 1);
            m.status[kC] = carry;
            storeShifted(ea, (v >> 1) + carry);
            if (onAccumulator) {
                if (m.AC == 0) m.status[kZ] = 1;
                if (m.AC > 127) m.status[kN] = 1;
            }
            break;
        }
        case Operation::kClc:
            m.status[kC] = 0;
            break;
        case Operation::kSec:
            m.status[kC] = 1;
            break;
        case Operation::kClv:
            m.status[kV] = 0;
            break;
        case Operation::kNop:
            break;
        case Operation::kBcc:
            return branch(m.status[kC] == 0);
        case Operation::kBcs:
            return branch(m.status[kC] == 1);
        case Operation::kBeq:
            return branch(m.status[kZ] == 1);
        case Operation::kBne:
            return branch(m.status[kZ] == 0);
        case Operation::kBmi:
            return branch(m.status[kN] == 1);
        case Operation::kBpl:
            return branch(m.status[kN] == 0);
        case Operation::kBvc:
            return branch(m.status[kV] == 0);
        case Operation::kBvs:
            return branch(m.status[kV] == 1);
        case Operation::kJmp:
            if (mode == assembler::kIndirect) {
                const std::int64_t p = hi() * 256 + lo();
                return Wrap32(std::int64_t{m.Read(p + 1)} * 256 + m.Read(p));
            }
            // Absolute: the operand is a displacement from the following instruction.
            return Wrap32(next + hi() * 256 + lo());
        case Operation::kJsr: {
            const std::int64_t target = hi() * 256 + lo();
            m.returnAddress = Wrap32(next);
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
                return a;
            }
            m.Write(std::int64_t{kStackPage} + m.SP, m.AC);
            m.SP = Wrap32(std::int64_t{m.SP} - 1);
            break;
        case Operation::kPhp:
            if (m.SP == 0) {
                m.halted = true;
                host.StackFull();
                break;
            }
            m.Write(std::int64_t{kStackPage} + m.SP, m.PackStatus());
            m.SP = Wrap32(std::int64_t{m.SP} - 1);
            break;
        case Operation::kPla:
            if (m.SP < 255) {
                m.SP = m.SP + 1;
                m.AC = m.Read(std::int64_t{kStackPage} + m.SP);
            }
            break;
        case Operation::kPlp:
            if (m.SP < 255) {
                m.SP = m.SP + 1;
                m.UnpackStatus(m.Read(std::int64_t{kStackPage} + m.SP));
            }
            break;
        case Operation::kBrk:
        case Operation::kRti:
        case Operation::kCli:
        case Operation::kSei:
        case Operation::kCld:
        case Operation::kSed:
            return a;
    }
    return Wrap32(next);
}

}  // namespace zorvan::cpu::detail
