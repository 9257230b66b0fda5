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
    if (hasOperand && Decode(opcode).signedOperand) detail::PresentSigned(machine, address + 1);
    const int next = ExecuteInstruction(machine, host, opcode, address);
    if (hasOperand) detail::RestoreOperand(machine, address + 1);
    machine.PC = next;
}

Run::Run(Machine& machine, MachineHost& host, int start)
    : machine_(machine), host_(host), address_(start) {
    machine_.halted = false;
}

RunEnd Run::Slice(std::int64_t instructionBudget) {
    if (end_ != RunEnd::kRunning) return end_;
    Machine& m = machine_;
    const std::array<DecodedOpcode, 256>& table = DecodeTable();
    int a = address_;
    std::int64_t done = 0;
    RunEnd end = RunEnd::kRunning;
    for (;;) {
        if (m.halted) {
            end = Finish(RunEnd::kStackFull, detail::Wrap32(std::int64_t{m.PC} + 1));
            break;
        }
        const int opcode = m.Read(a);
        if (opcode == 0) {
            end = Finish(RunEnd::kEmptyCell, detail::Wrap32(std::int64_t{m.PC} + 1));
            break;
        }
        if (done == instructionBudget) break;
        // a is an address here: a cell outside memory reads 0 and ended the run above.
        const DecodedOpcode d = static_cast<unsigned>(opcode) < 256
                                    ? table[static_cast<std::size_t>(opcode)]
                                    : DecodedOpcode{};
        const bool hasOperand = a + 1 < kMemorySize;
        if (!d.executed) {
            // The interpreter would return this same address for ever.
            if (hasOperand) detail::RestoreOperand(m, a + 1);
            notExecutedOpcode_ = opcode;
            notExecutedAddress_ = a;
            end = Finish(RunEnd::kNotExecuted, detail::Wrap32(std::int64_t{a} + 1));
            break;
        }
        if (hasOperand && d.signedOperand) detail::PresentSigned(m, a + 1);
        const int next = detail::Execute(m, host_, d, a);
        if (hasOperand) detail::RestoreOperand(m, a + 1);
        ++done;
        m.PC = next;
        a = next;
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
