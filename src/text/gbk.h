#pragma once
// GBK byte strings. A lead byte 0x81-0xFE starts a two-byte character whose trail byte
// can be any byte, "\" (0x5C) and "]" included, so byte searches must step over it.
#include <cstddef>
#include <string>

constexpr bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Size in bytes (1 or 2) of the character that starts at byte i.
std::size_t GbkCharSize(const std::string& s, std::size_t i);
// Byte index of the first single-byte character c at or after the character at from, or npos.
std::size_t IndexOfGbk(const std::string& s, char c, std::size_t from = 0);
// Byte index of the last single-byte character c, or npos.
std::size_t LastIndexOfGbk(const std::string& s, char c);
// The last character of s is the single-byte c.
bool EndsWithGbk(const std::string& s, char c);
// The folder path ending in exactly the one "\" a name can follow.
std::string WithFinalSeparator(const std::string& folder);
// ASCII letters in lower case; trail bytes stay as they are.
std::string LowerAsciiGbk(const std::string& s);
// Letters folded the way Windows compares file names (ASCII, Latin-1, Greek and Cyrillic,
// whether GBK holds them or they travel as escapes): equal results, one name.
std::string FoldNameCase(const std::string& s);
// At most maxBytes bytes of s, never half a character or part of an escape.
std::string CutGbk(const std::string& s, std::size_t maxBytes);
