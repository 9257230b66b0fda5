#pragma once
// Windows-1253, the Greek code page: the system's 8-bit text. It exists only at the edges:
// program files on disk, and the character that a memory cell or the accumulator stands for.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvan::text {

// The character of a byte, or nothing for the 17 bytes that Windows-1253 leaves undefined.
std::optional<char32_t> Cp1253ToUnicode(std::uint8_t byte);
// The byte of a character, or nothing when the character is outside the repertoire.
std::optional<std::uint8_t> UnicodeToCp1253(char32_t character);
bool IsInCp1253(char32_t character);

// Bytes to UTF-8; an undefined byte reads as the replacement character given.
std::string DecodeCp1253(std::string_view bytes, char32_t replacement = U'?');
// UTF-8 to bytes; nothing when a character is outside the repertoire.
std::optional<std::string> EncodeCp1253(std::string_view utf8);

// A pasted text split into what a cell can hold (in order) and the characters it cannot, each
// once; characters of alsoAllowed (the cell's own text) are held. A line end at the end of the
// text (a copied line) is neither.
struct HeldText {
    std::string held;
    std::string leftOut;
};
HeldText HoldableText(std::string_view utf8, std::string_view alsoAllowed = {});

// The red notice that names the characters a paste left out; control characters shown by their
// pictures.
std::string LeftOutNotice(std::string_view leftOut);

}  // namespace zorvan::text
