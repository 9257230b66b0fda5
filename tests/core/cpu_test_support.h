#pragma once
// Helpers for the processor tests: a host that records what the program asked of the console, a
// console kept as text, and a short notation for machine states: "AC=7F P=21 [0200]=A9,05" sets
// AC, the packed status byte and the cells 0200 and 0201 (keys: the registers and bits by name,
// and P; values hexadecimal, "-" allowed).

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/registers.h"
#include "cpu/step_history.h"

namespace zorvan::cpu {

class RecordingHost : public MachineHost {
  public:
    void ShowCharacter(int ac) override { calls.push_back("char " + std::to_string(ac)); }
    void AskForAccumulator() override { calls.push_back("ask"); }
    void ClearConsole() override { calls.push_back("clear"); }
    void PrintText(std::string_view s) override { calls.push_back("print " + std::string(s)); }
    void StackFull() override { calls.push_back("stack full"); }

    std::vector<std::string> calls;
};

// A console as text only: the routines change it as the window does.
class TextConsole : public MachineHost, public RestorableConsole {
  public:
    void ShowCharacter(int ac) override {
        text = std::string(1, static_cast<char>('!' + (ac & 63)));
    }
    void AskForAccumulator() override { text = "Δώσε τον AC"; }
    void ClearConsole() override { text.clear(); }
    void PrintText(std::string_view line) override {
        text += (text.empty() ? "" : "\n") + std::string(line);
    }
    void StackFull() override {}
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }

    std::string text;
};

inline void Apply(Machine& m, const std::string& state) {
    std::istringstream tokens(state);
    for (std::string token; tokens >> token;) {
        const std::string key = token.substr(0, token.find('='));
        std::istringstream values(token.substr(key.size() + 1));
        std::vector<std::int64_t> numbers;
        for (std::string value; std::getline(values, value, ',');)
            numbers.push_back(std::stoll(value, nullptr, 16));
        if (key[0] == '[') {  // stoll stops at the closing bracket
            const std::int64_t address = std::stoll(key.substr(1), nullptr, 16);
            for (std::size_t i = 0; i < numbers.size(); ++i)
                m.Write(address + static_cast<std::int64_t>(i), numbers[i]);
        } else if (key == "P") {
            m.UnpackStatus(numbers.at(0));
        } else {
            const std::optional<MachineField> field = FieldNamed(key);
            ASSERT_TRUE(field) << "unknown key " << key;
            FieldOf(m, *field) = static_cast<std::int32_t>(numbers.at(0));
        }
    }
}

// Everything but the halt flag.
inline void ExpectSameState(const Machine& actual, const Machine& expected) {
    const auto registers = [](const Machine& m) {
        return std::vector({m.AC, m.XR, m.YR, m.SP, m.PackStatus(), m.returnAddress, m.PC});
    };
    EXPECT_EQ(registers(actual), registers(expected)) << "AC XR YR SP P RA PC";
    EXPECT_TRUE(actual.memory == expected.memory) << "memory differs";
}

}  // namespace zorvan::cpu
