#pragma once
// A set of memory addresses 0000-FFFF, one bit each: the addresses at which a run stops, the
// cells a program was written into.

#include <array>
#include <cstddef>
#include <cstdint>

#include "cpu/machine.h"

namespace zorvan::cpu {

class AddressSet {
  public:
    // Addresses outside memory are ignored.
    void Add(std::int64_t address) {
        if (Machine::IsAddress(address)) AddInMemory(address);
    }
    void Remove(std::int64_t address) {
        if (Machine::IsAddress(address)) words_[Word(address)] &= ~Bit(address);
    }
    void Clear() { words_.fill(0); }
    void Merge(const AddressSet& other) {
        for (std::size_t i = 0; i < kWords; ++i) words_[i] |= other.words_[i];
    }
    bool Empty() const {
        std::uint64_t any = 0;
        for (const std::uint64_t word : words_) any |= word;
        return any == 0;
    }
    bool Contains(std::int64_t address) const {
        return Machine::IsAddress(address) && ContainsInMemory(address);
    }
    // For an address known to lie in memory.
    bool ContainsInMemory(std::int64_t address) const {
        return ((words_[Word(address)] >> (address & 63)) & 1) != 0;
    }
    void AddInMemory(std::int64_t address) { words_[Word(address)] |= Bit(address); }

  private:
    static constexpr std::size_t kWords = kMemorySize / 64;
    static std::size_t Word(std::int64_t address) { return static_cast<std::size_t>(address) / 64; }
    static std::uint64_t Bit(std::int64_t address) { return std::uint64_t{1} << (address & 63); }

    std::array<std::uint64_t, kWords> words_{};
};

}  // namespace zorvan::cpu
