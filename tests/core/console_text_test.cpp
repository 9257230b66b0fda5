#include "app/console_text.h"

#include <gtest/gtest.h>

#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

TEST(ConsoleTextTest, CharacterOfAValue) {
    const struct {
        std::int64_t value;
        const char* character;
    } cases[] = {
        {0x41, "A"}, {0x42, "B"}, {0xE1, "α"}, {0x141, "A"}, {0x00, ""}, {0xAA, "\uFFFD"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConsoleCharacter(c.value), c.character) << c.value;
}

TEST(ConsoleTextTest, EnterInTheField) {
    const struct {
        const char* text;
        std::optional<std::string> line;
        std::int32_t ac;  // AC held 0x33 before
    } cases[] = {
        {"4A", "AC:J", 0x4A},       {"4a", "AC:J", 0x4A},
        {"1C1", "AC:Α", 0x1C1},  // not limited to a byte; the line shows the low byte
        {"zz", std::nullopt, 0x33}, {"", std::nullopt, 0x33},
    };
    for (const auto& c : cases) {
        cpu::Machine machine;
        machine.AC = 0x33;
        EXPECT_EQ(EnterAccumulator(machine, c.text), c.line) << c.text;
        EXPECT_EQ(machine.AC, c.ac) << c.text;
    }
    cpu::Machine machine;
    EXPECT_THROW(EnterAccumulator(machine, "123456789"), text::ConversionError);
}

}  // namespace
}  // namespace zorvan::app
