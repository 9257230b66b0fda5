#pragma once
// Helpers for the processor tests: a host that records what the program asked of the console, and
// a short notation for machine states: "AC=7F P=21 [0200]=A9,05" sets AC, the packed status byte
// and the cells 0200 and 0201 (keys AC XR YR SP P RET PC; values hexadecimal, "-" allowed).

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cpu/machine.h"
#include "cpu/machine_host.h"

namespace zorvan::cpu {

class RecordingHost : public MachineHost {
  public:
    void ShowCharacter(int ac) override { calls.push_back("char " + std::to_string(ac)); }
    void AskForAccumulator() override { calls.push_back("ask"); }
    void ClearConsole() override { calls.push_back("clear"); }
    void PrintText(std::string_view bytes) override {
        calls.push_back("print " + std::string(bytes));
    }
    void StackFull() override { calls.push_back("stack full"); }

    std::vector<std::string> calls;
};

inline void Apply(Machine& m, const std::string& state) {
    std::istringstream tokens(state);
    std::string token;
    while (tokens >> token) {
        const auto equals = token.find('=');
        const std::string key = token.substr(0, equals);
        std::istringstream values(token.substr(equals + 1));
        std::vector<std::int64_t> numbers;
        for (std::string value; std::getline(values, value, ',');) {
            numbers.push_back(std::stoll(value, nullptr, 16));
        }
        const auto v = static_cast<std::int32_t>(numbers.at(0));
        if (key[0] == '[') {
            const auto address = std::stoll(key.substr(1, key.size() - 2), nullptr, 16);
            for (std::size_t i = 0; i < numbers.size(); ++i)
                m.Write(address + static_cast<std::int64_t>(i), numbers[i]);
        } else if (key == "AC") {
            m.AC = v;
        } else if (key == "XR") {
            m.XR = v;
        } else if (key == "YR") {
            m.YR = v;
        } else if (key == "SP") {
            m.SP = v;
        } else if (key == "P") {
            m.UnpackStatus(v);
        } else if (key == "RET") {
            m.returnAddress = v;
        } else if (key == "PC") {
            m.PC = v;
        } else {
            ADD_FAILURE() << "unknown key " << key;
        }
    }
}

// Everything but the halt flag.
inline void ExpectSameState(const Machine& actual, const Machine& expected) {
    EXPECT_EQ(std::vector({actual.AC, actual.XR, actual.YR, actual.SP, actual.PackStatus(),
                           actual.returnAddress, actual.PC}),
              std::vector({expected.AC, expected.XR, expected.YR, expected.SP,
                           expected.PackStatus(), expected.returnAddress, expected.PC}))
        << "AC XR YR SP P RET PC";
    EXPECT_TRUE(actual.memory == expected.memory) << "memory differs";
}

}  // namespace zorvan::cpu
