#include "app/headless_console.h"

#include <gtest/gtest.h>

#include <tuple>

#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

TEST(ConsoleTextTest, CharacterOfAValueAndEnterInTheField) {
    const std::pair<std::int64_t, const char*> characters[] = {
        {0x42, "B"}, {0xE1, "α"}, {0x141, "A"}, {0x00, ""}, {0xAA, "\uFFFD"}};
    for (const auto& [value, text] : characters) EXPECT_EQ(ConsoleCharacter(value), text) << value;

    const std::tuple<const char*, std::optional<std::string>, std::int32_t> cases[] = {
        {"4a", "AC:J", 0x4A},
        {"1C1", "AC:Α", 0x1C1},
        {"zz", std::nullopt, 0x33},
        {"", std::nullopt, 0x33}};
    for (const auto& [text, line, ac] : cases) {  // AC held 0x33 before; not limited to a byte
        cpu::Machine machine;
        machine.AC = 0x33;
        EXPECT_EQ(EnterAccumulator(machine, text), line) << text;
        EXPECT_EQ(machine.AC, ac) << text;
    }
    cpu::Machine machine;
    EXPECT_THROW(EnterAccumulator(machine, "123456789"), text::ConversionError);
}

TEST(ConsoleTextTest, ControlCharactersShowAsTheWindowShowsThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"ΓΕΙΑ\n", "ΓΕΙΑ\n"},
        {std::string("a\0b", 3), "ab"},
        {"a\x0C"
         "b",
         "ab"},
        {"a\tb", "a\tb"},
        {"a\rb\r\nc\n\rd", "a\nb\nc\n\nd"},
        {"\x01\x1B[2J\x7F", "\u25AF\u25AF[2J\u25AF"},
        {"", ""},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(ConsoleShownText(text), shown) << text;
}

}  // namespace
}  // namespace zorvan::app
