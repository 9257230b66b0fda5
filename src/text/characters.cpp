#include "text/characters.h"

namespace zorvan::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the sequence that starts with this byte, or 0 when it cannot start one.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

std::u32string ToCharacters(std::string_view utf8) {
    std::u32string characters;
    characters.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = SequenceLength(lead);
        if (length == 0 || i + length > utf8.size()) {
            characters.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t value = length == 1 ? lead : lead & (0x7F >> length);
        bool wellFormed = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                wellFormed = false;
                break;
            }
            value = (value << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            characters.push_back(kReplacement);
            ++i;
            continue;
        }
        characters.push_back(value);
        i += length;
    }
    return characters;
}

void AppendCharacter(std::string& utf8, char32_t c) {
    if (c < 0x80) {
        utf8.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
        utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x110000) {
        utf8.push_back(static_cast<char>(0xF0 | (c >> 18)));
        utf8.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        AppendCharacter(utf8, kReplacement);
    }
}

std::string FromCharacters(std::u32string_view characters) {
    std::string utf8;
    utf8.reserve(characters.size());
    for (char32_t c : characters) AppendCharacter(utf8, c);
    return utf8;
}

std::size_t CharacterCount(std::string_view utf8) {
    // Decoded the same way as ToCharacters, so a malformed byte counts as one character there too.
    return ToCharacters(utf8).size();
}

}  // namespace zorvan::text
