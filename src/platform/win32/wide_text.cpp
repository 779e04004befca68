#include "platform/win32/wide_text.h"

#include <windows.h>

#include <optional>

#include "text/escape.h"
#include "text/gbk.h"

namespace {

constexpr UINT kGbk = 936;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendGbk(std::wstring& out, const char* p, std::size_t n) {
    if (n == 0) return;
    const int units = MultiByteToWideChar(kGbk, 0, p, static_cast<int>(n), nullptr, 0);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(units));
    MultiByteToWideChar(kGbk, 0, p, static_cast<int>(n), out.data() + at, units);
}

void AppendCodePoint(std::wstring& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<wchar_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
}

// The GBK bytes of one character, or nothing when GBK cannot hold exactly that character.
std::optional<std::string> GbkOf(std::wstring_view ch) {
    char bytes[8];
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, ch.data(), static_cast<int>(ch.size()), bytes,
                                      sizeof bytes, nullptr, &lost);
    if (n <= 0 || lost) return std::nullopt;
    wchar_t back[4];
    const int m = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, n, back, 4);
    if (std::wstring_view(back, m > 0 ? static_cast<std::size_t>(m) : 0) != ch) return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(n));
}

// A "?" that the text after it would turn into an escape is escaped itself.
bool ReadsAsEscape(std::wstring_view w, std::size_t i) {
    if (i + kEscapeSize > w.size()) return false;
    std::string ascii;
    for (std::size_t k = i; k < i + kEscapeSize; ++k) {
        if (w[k] >= 0x80) return false;
        ascii += static_cast<char>(w[k]);
    }
    return EscapeAt(ascii, 0).has_value();
}

}  // namespace

std::wstring Wide(const std::string& s) {
    std::wstring out;
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (const auto c = EscapeAt(s, i)) {
            AppendGbk(out, s.data() + run, i - run);
            AppendCodePoint(out, *c);
            i += kEscapeSize;
            run = i;
        } else {
            i += GbkCharSize(s, i);
        }
    }
    AppendGbk(out, s.data() + run, s.size() - run);
    return out;
}

std::wstring WideCut(const std::string& s, std::size_t maxUnits) {
    std::wstring out = Wide(s);
    if (out.size() <= maxUnits) return out;
    out.resize(maxUnits > 0 && IsLowSurrogate(out[maxUnits]) ? maxUnits - 1 : maxUnits);
    return out;
}

std::string Narrow(std::wstring_view w) {
    std::string out;
    for (std::size_t i = 0; i < w.size();) {
        const bool pair = IsHighSurrogate(w[i]) && i + 1 < w.size() && IsLowSurrogate(w[i + 1]);
        const std::wstring_view ch = w.substr(i, pair ? 2 : 1);
        const char32_t code = pair ? 0x10000 + ((char32_t(w[i]) - 0xD800) << 10) + (char32_t(w[i + 1]) - 0xDC00)
                                   : char32_t(w[i]);
        if (code < 0x80 && !(code == '?' && ReadsAsEscape(w, i))) out += static_cast<char>(code);
        else if (const auto gbk = code < 0x80 ? std::nullopt : GbkOf(ch)) out += *gbk;
        else out += EscapeCodePoint(code);
        i += ch.size();
    }
    return out;
}

std::wstring WidePath(const std::string& gbk) {
    std::wstring path = Wide(gbk);
    constexpr std::size_t kShortEnough = MAX_PATH - 14;  // room for a temporary's suffix or 8.3 name
    if (path.size() < kShortEnough || path.starts_with(L"\\\\?\\")) return path;
    // The \\?\ form is taken literally: resolve "." and ".." and "/" first.
    const DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(need, L'\0');
    const DWORD got = need ? GetFullPathNameW(path.c_str(), need, full.data(), nullptr) : 0;
    if (got == 0 || got >= need) return path;
    full.resize(got);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}
