// Any machine state and memory, run for a bounded number of instructions and stepped: nothing may
// crash, read or write outside the 65536 cells, or hand the console more than its text bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/run_loop.h"

namespace {

using zorvan::cpu::Machine;

class CheckingHost final : public zorvan::cpu::MachineHost {
  public:
    void ShowCharacter(int) override {}
    void AskForAccumulator() override {}
    void ClearConsole() override {}
    void PrintText(std::string_view cp1253Bytes) override {
        if (cp1253Bytes.size() > 283) std::abort();
    }
    void StackFull() override {}
};

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return position_ >= size_; }
    std::uint8_t Byte() { return empty() ? 0 : data_[position_++]; }
    std::int32_t Int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return static_cast<std::int32_t>(value);
    }
    std::int16_t Int16() { return static_cast<std::int16_t>((Byte() << 8) | Byte()); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader input(data, size);
    auto machine = std::make_unique<Machine>();
    // Registers may hold anything a window or an earlier run could leave in them, small values
    // most of the time so that programs actually run.
    const bool wide = input.Byte() & 1;
    auto value = [&]() { return wide ? input.Int32() : static_cast<std::int32_t>(input.Byte()); };
    machine->AC = value();
    machine->XR = value();
    machine->YR = value();
    machine->SP = value();
    machine->returnAddress = wide ? input.Int32() : 0xFF00 | input.Byte();
    machine->UnpackStatus(input.Byte());
    const int start = wide ? input.Int32() : (input.Byte() << 8) | input.Byte();

    // The rest: blocks of (address, length, cells); cells are bytes or, rarely, whole 16-bit
    // values.
    while (!input.empty()) {
        int address = (input.Byte() << 8) | input.Byte();
        const int length = input.Byte() % 32;
        const bool cellsWide = input.Byte() == 0xFF;
        for (int i = 0; i < length && address < zorvan::cpu::kMemorySize; ++i, ++address) {
            machine->memory[static_cast<std::size_t>(address)] =
                cellsWide ? input.Int16() : static_cast<std::int16_t>(input.Byte());
        }
    }

    CheckingHost host;
    zorvan::cpu::RunFrom(*machine, host, start, 20000);
    for (int i = 0; i < 64; ++i) zorvan::cpu::StepAt(*machine, host, machine->PC);
    return 0;
}
