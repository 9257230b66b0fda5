#include "text/hex_text.h"

#include <cstdio>

#include "text/conversion_error.h"

namespace zorvan::text {
namespace {

int HexValue(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    return -1;
}

bool IsAsciiAlnum(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string FormatHex(std::int64_t value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", width,
                  static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return buffer;
}

}  // namespace

bool IsHexDigit(char32_t character) {
    return HexValue(character) >= 0;
}

bool IsHexText(std::string_view text) {
    // Bytes of a multi-byte character are never ASCII, so a byte-wise test is exact here.
    for (char byte : text) {
        if (HexValue(static_cast<unsigned char>(byte)) < 0) return false;
    }
    return true;
}

bool IsAlnumText(std::string_view text) {
    for (char byte : text) {
        if (!IsAsciiAlnum(static_cast<unsigned char>(byte))) return false;
    }
    return true;
}

std::optional<std::int32_t> ParseHex(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char byte : text) {
        const int digit = HexValue(static_cast<unsigned char>(byte));
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t HexTextToInt(std::string_view text) {
    if (const std::optional<std::int32_t> value = ParseHex(text)) return *value;
    throw ConversionError(NotHexMessage(text));
}

std::string NotHexMessage(std::string_view text) {
    return "Το '" + std::string(text) + "' δεν είναι έγκυρος δεκαεξαδικός αριθμός.";
}

std::int32_t IntegerTextToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const auto refuse = [text] {
        return ConversionError("Το '" + std::string(text) +
                               "' δεν είναι έγκυρος ακέραιος αριθμός.");
    };
    const std::string_view digits = text.substr(i);
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        // As the decimal reading: a 32-bit value, FFFFFFFF being -1; the sign negates it.
        const std::optional<std::int32_t> value = ParseHex(digits.substr(2));
        if (!value) throw refuse();
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(*value))
                        : *value;
    }
    bool valid = i < text.size();
    std::int64_t value = 0;
    for (; valid && i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            valid = false;
            break;
        }
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) valid = false;
    }
    if (valid && !negative && value > 2147483647LL) valid = false;
    if (!valid) throw refuse();
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string FormatHex4(std::int64_t value) {
    return FormatHex(value, 4);
}
std::string FormatHex2(std::int64_t value) {
    return FormatHex(value, 2);
}

}  // namespace zorvan::text
