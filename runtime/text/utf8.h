#pragma once
// UTF-8 text helpers shared by every layer: cutting on character boundaries, trailing-blank
// clipping, and the system's single case folding (Unicode simple upper-casing).
#include <cstddef>
#include <string>
#include <string_view>

namespace vrt {

// Longest prefix of `text` that fits in `maxBytes` without splitting a character.
std::string_view utf8Truncate(std::string_view text, std::size_t maxBytes);

// Longest prefix holding at most `maxChars` characters.
std::string_view utf8Left(std::string_view text, std::size_t maxChars);

// Number of characters (code points; a stray byte counts as one).
std::size_t utf8Length(std::string_view text);

// Decodes the code point at `pos` and advances `pos`. Invalid bytes decode as themselves
// (0x80..0xFF) so that no input is ever lost or rejected.
char32_t utf8Next(std::string_view text, std::size_t& pos);
void utf8Append(std::string& out, char32_t cp);

// `text` without trailing blanks (spaces; a CSTRING's zero is never part of the text).
std::string_view clip(std::string_view text);

// The system's "upper case": every code point through Unicode simple upper-case mapping.
std::string upperCase(std::string_view text);
std::string lowerCase(std::string_view text);
char32_t upperCaseChar(char32_t cp);
char32_t lowerCaseChar(char32_t cp);

// Comparisons of text ignore trailing blanks; the no-case form compares upper-cased text.
int compareText(std::string_view a, std::string_view b);
int compareTextNoCase(std::string_view a, std::string_view b);
inline bool equalText(std::string_view a, std::string_view b) { return compareText(a, b) == 0; }
inline bool equalTextNoCase(std::string_view a, std::string_view b) { return compareTextNoCase(a, b) == 0; }

}  // namespace vrt
