#pragma once
// The one place in win32/ that converts text: the program's GBK strings (always code
// page 936, whatever the system's code page) with their escapes, to and from UTF-16
// for the wide Win32 functions.
#include <string>
#include <string_view>

std::wstring Wide(const std::string& gbk);
// At most maxUnits UTF-16 units of the text, never half a surrogate pair.
std::wstring WideCut(const std::string& gbk, std::size_t maxUnits);
// A path for the wide file functions: past MAX_PATH in the "\\?\" form, which takes
// any length on every Windows, whatever the long-path setting.
std::wstring WidePath(const std::string& gbk);
// GBK where it holds the character exactly (no best-fit look-alikes), else an escape.
std::string Narrow(std::wstring_view wide);
