#pragma once
// A character GBK cannot hold, carried inside a GBK byte string: "?" and its code
// point as six letters "a"-"p" (one per hex digit, most significant first). "?" never
// names a file, and the letters are ASCII, lower case, no digits, no "\", "." or "]",
// so the path helpers, the case folding and the name order treat the escape as one
// word, and escapes sort among themselves by code point.
#include <cstddef>
#include <optional>
#include <string>

inline constexpr std::size_t kEscapeSize = 7;

std::string EscapeCodePoint(char32_t c);
// The code point of the escape at byte i, if one starts there.
std::optional<char32_t> EscapeAt(const std::string& s, std::size_t i);
