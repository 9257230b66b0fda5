#include "cpu/run_loop.h"

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

}  // namespace

std::string NotExecutedMessage(int opcode, int address) {
    return "Η εντολή " + text::FormatHex2(opcode) + " στη διεύθυνση " + text::FormatHex4(address) +
           " δεν εκτελείται. Η εκτέλεση σταμάτησε.";
}

void StepAt(Machine& machine, MachineHost& host, int address) {
    const int opcode = machine.Read(address);
    const bool hasOperand = HasOperandCell(address);
    if (hasOperand && Decode(opcode).signedOperand)
        detail::PresentSigned(machine.memory[static_cast<std::size_t>(address) + 1]);
    const int next = ExecuteInstruction(machine, host, opcode, address);
    if (hasOperand) detail::RestoreOperand(machine.memory[static_cast<std::size_t>(address) + 1]);
    machine.PC = next;
}

Run::Run(Machine& machine, MachineHost& host, int start)
    : machine_(machine), host_(host), address_(start) {
    machine_.halted = false;
}

RunEnd Run::Slice(std::int64_t instructionBudget) {
    if (end_ != RunEnd::kRunning) return end_;
    Machine& m = machine_;
    MachineHost& host = host_;
    const std::array<DecodedOpcode, 256>& table = DecodeTable();
    int a = address_;
    std::int64_t done = 0;
    RunEnd end = RunEnd::kRunning;
    if (m.halted) end = Finish(RunEnd::kStackFull, detail::Wrap32(std::int64_t{m.PC} + 1));
    while (end == RunEnd::kRunning) {
        // The fast path: an instruction below FFFF (so its operand cell exists) that cannot end
        // the run. It does exactly what the general path below does for such an instruction.
        if (static_cast<unsigned>(a) < kMemorySize - 1 && done != instructionBudget) {
            const int opcode = m.memory[static_cast<std::size_t>(a)];
            // Not 0 (empty cell) and a table index.
            if (static_cast<unsigned>(opcode - 1) < 255) {
                const DecodedOpcode& d = table[static_cast<std::size_t>(opcode)];
                std::int16_t& operand = m.memory[static_cast<std::size_t>(a) + 1];
                if (d.plain) {
                    __builtin_assume(a >= 0 && a < kMemorySize - 1);
                    const int next = detail::Execute(m, host, d, a);
                    detail::RestoreOperand(operand);
                    ++done;
                    m.PC = next;
                    a = next;
                    continue;
                }
                if (d.signedOperand && static_cast<std::uint16_t>(operand) < 256) {
                    // A stored byte 00-FF: lowering it by 256 and raising it back after leaves
                    // the cell as it was, so the instruction gets the signed byte directly.
                    const int next =
                        detail::ExecuteSignedOperand(m, d, a, static_cast<std::int8_t>(operand));
                    ++done;
                    m.PC = next;
                    a = next;
                    continue;
                }
            }
        }

        // The general path, every test in order. A cell outside memory reads 0: the run ends
        // there as at an empty cell.
        const int opcode = m.Read(a);
        if (opcode == 0) {
            end = Finish(RunEnd::kEmptyCell, detail::Wrap32(std::int64_t{m.PC} + 1));
            break;
        }
        if (done == instructionBudget) break;
        const DecodedOpcode d = Decode(opcode);
        // An instruction at FFFF has no operand cell: nothing is presented or restored.
        const bool hasOperand = HasOperandCell(a);
        std::int16_t* const operand =
            hasOperand ? &m.memory[static_cast<std::size_t>(a) + 1] : nullptr;
        if (!d.executed) {
            // The interpreter would return this same address for ever.
            if (operand != nullptr) detail::RestoreOperand(*operand);
            notExecutedOpcode_ = opcode;
            notExecutedAddress_ = a;
            end = Finish(RunEnd::kNotExecuted, detail::Wrap32(std::int64_t{a} + 1));
            break;
        }
        if (operand != nullptr && d.signedOperand) detail::PresentSigned(*operand);
        const int next = ExecuteInstruction(m, host, opcode, a);
        if (operand != nullptr) detail::RestoreOperand(*operand);
        ++done;
        m.PC = next;
        a = next;
        if (m.halted) end = Finish(RunEnd::kStackFull, detail::Wrap32(std::int64_t{m.PC} + 1));
    }
    address_ = a;
    executed_ += done;
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

RunEnd RunFrom(Machine& machine, MachineHost& host, int start, std::int64_t limit) {
    Run run(machine, host, start);
    const RunEnd end = run.Slice(limit);
    if (end != RunEnd::kRunning) return end;
    machine.PC = run.Address();
    return RunEnd::kLimit;
}

}  // namespace zorvan::cpu
