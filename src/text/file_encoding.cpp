#include "text/file_encoding.h"

#include "text/characters.h"
#include "text/cp1253.h"

namespace zorvan::text {

std::optional<char32_t> StandInForUndefinedByte(std::uint8_t byte) {
    if (Cp1253ToUnicode(byte)) return std::nullopt;
    return kFirstStandIn + byte;
}

std::optional<std::uint8_t> FileByteOf(char32_t character) {
    if (const auto byte = UnicodeToCp1253(character)) return byte;
    if (character < kFirstStandIn || character > kFirstStandIn + 0xFF) return std::nullopt;
    const auto byte = static_cast<std::uint8_t>(character - kFirstStandIn);
    if (Cp1253ToUnicode(byte)) return std::nullopt;  // a defined byte has its own character
    return byte;
}

bool IsUtf8Text(std::string_view bytes) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t value = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        beyondAscii = true;
        i += length;
    }
    return beyondAscii;
}

std::string DecodeFileBytes(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        AppendCharacter(utf8, Cp1253ToUnicode(byte).value_or(kFirstStandIn + byte));
    }
    return utf8;
}

}  // namespace zorvan::text
