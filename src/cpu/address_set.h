#pragma once
// A set of memory addresses 0000-FFFF, one bit each: the addresses at which a run stops, the
// cells a program was written into.

#include <bitset>
#include <cstdint>

#include "cpu/machine.h"

namespace zorvan::cpu {

class AddressSet {
  public:
    // Addresses outside memory are ignored.
    void Add(std::int64_t address) {
        if (Machine::IsAddress(address)) bits_.set(static_cast<std::size_t>(address));
    }
    void Remove(std::int64_t address) {
        if (Machine::IsAddress(address)) bits_.reset(static_cast<std::size_t>(address));
    }
    void Clear() { bits_.reset(); }
    void Merge(const AddressSet& other) { bits_ |= other.bits_; }
    bool Empty() const { return bits_.none(); }
    bool Contains(std::int64_t address) const {
        return Machine::IsAddress(address) && bits_[static_cast<std::size_t>(address)];
    }
    // For an address known to lie in memory.
    bool ContainsInMemory(std::int64_t address) const {
        return bits_[static_cast<std::size_t>(address)];
    }

  private:
    std::bitset<kMemorySize> bits_;
};

}  // namespace zorvan::cpu
