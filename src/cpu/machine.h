#pragma once
// The emulated 6502: 64 KB of memory cells, the registers, eight status bits and the run control.
// One plain record; the assembly pass, the interpreter and the inspection windows read and write
// its fields directly. Cells and registers are plain integers: values outside 0-255 can arise and
// every reader treats them as integers, not bytes.

#include <array>
#include <cstdint>

namespace zorvan::cpu {

inline constexpr int kMemorySize = 65536;
inline constexpr int kStackPage = 0x0100;

// Index of each status bit, in display order N V - B D I Z C.
enum StatusBit : int { kN = 0, kV = 1, kUnused = 2, kB = 3, kD = 4, kI = 5, kZ = 6, kC = 7 };
inline constexpr int kStatusBitCount = 8;

struct Machine {
    std::array<std::int16_t, kMemorySize> memory{};
    std::int32_t PC = 0;
    std::array<std::int32_t, kStatusBitCount> status{0, 0, 1, 0, 0, 0, 0, 0};
    std::int32_t AC = 0;
    std::int32_t XR = 0;
    std::int32_t YR = 0;
    std::int32_t SP = 255;
    std::int32_t returnAddress = 0;
    bool halted = false;

    static bool IsAddress(std::int64_t address) { return address >= 0 && address < kMemorySize; }

    // A read outside 0000-FFFF gives 0 and a write there is dropped: nothing outside the 65536
    // cells is ever touched. A write keeps the low 16 bits of the value.
    std::int32_t Read(std::int64_t address) const {
        return IsAddress(address) ? memory[static_cast<std::size_t>(address)] : 0;
    }
    void Write(std::int64_t address, std::int64_t value) {
        if (IsAddress(address)) {
            memory[static_cast<std::size_t>(address)] =
                static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
        }
    }

    // The eight status bits as one byte, N in bit 7 down to C in bit 0.
    int PackStatus() const;
    // Sets all eight bits, B and "-" included, from the low eight bits of the value.
    void UnpackStatus(std::int64_t byte);

    // Every cell to 0; nothing else changes.
    void ClearMemory();
    // YR, XR, AC and PC to 0, SP to FF and all eight status bits to 0 (the "-" bit too).
    // Memory, the return address and the halt flag stay.
    void ClearRegisters();
};

}  // namespace zorvan::cpu
