#pragma once
// The text of program files on disk. They are Windows-1253, and every byte survives a round trip:
// a byte that the code page leaves undefined reads as a visible stand-in, the Braille pattern
// whose dots spell the byte (U+2800 + byte), and is written back as that byte. A file that is
// valid UTF-8 with text beyond ASCII (from a modern editor) reads as UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvan::text {

inline constexpr char32_t kFirstStandIn = 0x2800;

// The stand-in of a byte that Windows-1253 leaves undefined; nothing for a defined byte.
std::optional<char32_t> StandInForUndefinedByte(std::uint8_t byte);

// The byte a character is written as: its Windows-1253 byte, or the byte of a stand-in.
std::optional<std::uint8_t> FileByteOf(char32_t character);

// True for bytes that are well-formed UTF-8 holding at least one character beyond ASCII, Greek or
// not ("café →"). Windows-1253 text is almost never well-formed UTF-8: its lower-case letters are
// UTF-8 lead bytes that need a symbol or capital byte after them. Any other file reads as
// Windows-1253, which keeps every byte.
bool IsUtf8Text(std::string_view bytes);

// Windows-1253 bytes to UTF-8, undefined bytes as their stand-ins.
std::string DecodeFileBytes(std::string_view bytes);

}  // namespace zorvan::text
