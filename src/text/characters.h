#pragma once
// Text inside Zorvan is UTF-8; a "character" is one code point. Lengths and positions in the
// operand rules count characters, not bytes, so every such rule goes through these helpers.

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvan::text {

// Decodes UTF-8; a malformed byte becomes U+FFFD so that nothing is skipped silently.
std::u32string ToCharacters(std::string_view utf8);
std::string FromCharacters(std::u32string_view characters);
void AppendCharacter(std::string& utf8, char32_t character);

std::size_t CharacterCount(std::string_view utf8);

}  // namespace zorvan::text
