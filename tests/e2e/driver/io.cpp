// Command line in, UTF-8 lines out.
#include "driver.h"

#include <cwchar>

namespace drive {

std::string toUtf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
    return s;
}

namespace {

void writeLine(DWORD which, const std::wstring& line) {
    // Raw bytes, so bash sees UTF-8 whatever the console code page is.
    std::string s = toUtf8(line) + "\n";
    DWORD done = 0;
    WriteFile(GetStdHandle(which), s.data(), (DWORD)s.size(), &done, nullptr);
}

}  // namespace

void out(const std::wstring& line) { writeLine(STD_OUTPUT_HANDLE, line); }
void err(const std::wstring& line) { writeLine(STD_ERROR_HANDLE, line); }

std::wstring utf8ToWide(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), w.data(), n);
    return w;
}

std::vector<std::wstring> commandLineArgs() {
    // shell32 is not among the driver's link libraries, so its splitter is loaded here;
    // the wide command line keeps Chinese names intact whatever the ANSI code page.
    using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    auto split = shell ? reinterpret_cast<Split>(
                             reinterpret_cast<void*>(GetProcAddress(shell, "CommandLineToArgvW")))
                       : nullptr;
    std::vector<std::wstring> args;
    if (!split) return args;
    int n = 0;
    LPWSTR* argv = split(GetCommandLineW(), &n);
    for (int i = 1; i < n; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

std::optional<long long> parseInt(const std::wstring& s) {
    if (s.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    long long v = std::wcstoll(s.c_str(), &end, 0);
    if (end == s.c_str() || *end != L'\0') return std::nullopt;
    return v;
}

std::wstring hex(unsigned long long v) {
    wchar_t buf[32];
    swprintf(buf, 32, L"0x%llx", v);
    return buf;
}

void fail(const std::wstring& message) { throw Failure{message}; }

}  // namespace drive
