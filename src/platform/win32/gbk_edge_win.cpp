#include "platform/win32/gbk_edge_win.h"

#include <windows.h>

namespace {

constexpr UINT kGbk = 936;

}  // namespace

std::string GbkFromUtf16(const std::u16string& text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(kGbk, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string gbk(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kGbk, 0, wide, length, gbk.data(), bytes, nullptr, nullptr);
    return gbk;
}

std::wstring WideFromGbk(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int chars = MultiByteToWideChar(kGbk, 0, text.data(), length, nullptr, 0);
    if (chars <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(kGbk, 0, text.data(), length, wide.data(), chars);
    return wide;
}
