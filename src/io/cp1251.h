// Windows-1251, the 8-bit Cyrillic code page of stored project files and reports.
// Inside the program every text is UTF-8; the conversion happens only at the file edge.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace coldroom {

// Converts UTF-8 to Windows-1251. A character the code page cannot hold (or a broken
// UTF-8 sequence) is refused: returns false, leaves `out` empty and sets `error` to a
// Russian message that names the character, e.g.
// "символ «☃» (U+2603) нельзя записать в кодировке Windows-1251".
bool Utf8ToCp1251(std::string_view utf8, std::string& out, std::string& error);

// Converts Windows-1251 bytes to UTF-8. The one unassigned byte (0x98) is refused.
bool Cp1251ToUtf8(std::string_view bytes, std::string& out, std::string& error);

// The first character of a UTF-8 text that Windows-1251 cannot hold, as UTF-8; empty when
// the whole text can be stored. Lets a caller name the field that holds it.
std::string FirstUnencodableCharacter(std::string_view utf8);

// A text as a message may quote it: control characters and bytes that are not UTF-8 are
// written as \xNN, so a damaged file or database cannot put raw bytes on the screen or into
// a terminal.
std::string PrintableText(std::string_view text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool WellFormedUtf8(std::string_view text);

// Joins lines, each followed by CR LF (the last one too).
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace coldroom
