#include "cpu/run_loop.h"

#include "cpu/interpreter.h"
#include "text/hex_text.h"

namespace zorvan::cpu {

std::string NotExecutedMessage(int opcode, int address) {
    return "Η εντολή " + text::FormatHex2(opcode) + " στη διεύθυνση " + text::FormatHex4(address) +
           " δεν εκτελείται. Η εκτέλεση σταμάτησε.";
}

void StepAt(Machine& machine, MachineHost& host, int address) {
    machine.PC = ExecuteInstruction(machine, host, machine.Read(address), address);
}

Run::Run(Machine& machine, MachineHost& host, int start)
    : machine_(machine), host_(host), address_(start) {
    machine_.halted = false;
}

RunEnd Run::Slice(std::int64_t) {
    (void)host_;
    return end_;
}

RunEnd Run::Stop() {
    return end_ = RunEnd::kStopped;
}

RunEnd Run::Finish(RunEnd end, std::int32_t pc) {
    machine_.PC = pc;
    return end_ = end;
}

RunEnd RunFrom(Machine& machine, MachineHost& host, int start, std::int64_t limit) {
    Run run(machine, host, start);
    return run.Slice(limit);
}

}  // namespace zorvan::cpu
