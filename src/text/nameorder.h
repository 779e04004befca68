#pragma once
// The order people expect file names in: "2.mp3" before "10.mp3", "a" next to "A".
#include <string>

// Runs of digits compare by their value, ASCII letters without case, double-byte GBK
// characters by their bytes. Names equal that way fall back to plain byte order, so the
// order is total and a sort gives the same result every time.
bool NameLess(const std::string& a, const std::string& b);
