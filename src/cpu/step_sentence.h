#pragma once
// One Greek sentence that tells what an executed instruction did, for the step window:
//   "STA 0300,X: διεύθυνση 0305 ← 41 (ήταν 00)"
//   "BNE: η διακλάδωση έγινε, PC ← 0208"
// It names the effective address of the indexed and indirect forms, each cell read and written
// with its old and new value, each register and status bit that changed, whether a branch was
// taken, and the return address of JSR and RTS.

#include <string>

#include "cpu/machine.h"
#include "cpu/step_history.h"

namespace zorvan::cpu {

// after is the machine as the instruction left it.
std::string DescribeStep(const StepChange& change, const Machine& after);

// A call stepped over as one step, from the machine before the JSR to the one after its RTS:
//   "JSR 022A … RTS: 14 εντολές, AC 36 → 00, κελιά 0300–0303"
std::string DescribeCall(int target, std::int64_t instructions, const Machine& before,
                         const Machine& after);

}  // namespace zorvan::cpu
