#pragma once
// The program's GBK text and the system's UTF-16, converted with code page 936.
#include <string>

std::string GbkFromUtf16(const std::u16string& text);
std::wstring WideFromGbk(const std::string& text);
