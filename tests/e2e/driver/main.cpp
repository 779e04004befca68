// ruzdrive [--exe NAME] [--pid N] <verb> [args...]
// Acts on the program's windows from outside, as a person would; see `ruzdrive help`.
// Exit code: 0 done / true, 1 failed, 2 wrong usage.
#include "driver.h"

namespace drive {

long long intArg(const Args& a, size_t i, const wchar_t* what) {
    if (i >= a.size()) fail(std::wstring(L"missing ") + what);
    auto v = parseInt(a[i]);
    if (!v) fail(std::wstring(L"not a number for ") + what + L": " + a[i]);
    return *v;
}

DWORD timeoutArg(const Args& a, size_t i, DWORD fallback) {
    return i < a.size() ? (DWORD)intArg(a, i, L"timeout_ms") : fallback;
}

HWND windowArg(const Args& a, size_t i) {
    auto p = i < a.size() ? parseWindowName(a[i]) : std::nullopt;
    if (!p) fail(L"expected main, mini or progress");
    return requireWindow(*p);
}

namespace {

std::vector<Verb> allVerbs() {
    std::vector<Verb> all;
    for (auto part : {windowVerbs(), controlVerbs(), listViewVerbs(), dialogVerbs(), trayVerbs(), driveVerbs()})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

int usage(const std::vector<Verb>& verbs) {
    out(L"ruzdrive [--exe NAME] [--pid N] <verb> [args]");
    out(L"  --exe NAME  only windows of processes whose image is NAME (e.g. RuzoriZE3.exe)");
    out(L"  --pid N     only windows of that Windows process");
    out(L"  <ctl> is a name from ids.h (按钮_复制, ProgressCtl::标签1) or a number");
    for (const auto& v : verbs) out(std::wstring(L"  ") + v.name + L" " + v.usage);
    return 2;
}

int run(Args args) {
    auto verbs = allVerbs();
    while (!args.empty() && args[0].rfind(L"--", 0) == 0) {
        if (args.size() < 2) return usage(verbs);
        if (args[0] == L"--exe")
            g_options.exe = args[1];
        else if (args[0] == L"--pid")
            g_options.pid = (DWORD)intArg(args, 1, L"--pid");
        else
            return usage(verbs);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args[0] == L"help") return usage(verbs);
    for (const auto& v : verbs) {
        if (args[0] != v.name) continue;
        Args rest(args.begin() + 1, args.end());
        if (rest.size() < v.minArgs) {
            err(std::wstring(L"usage: ruzdrive ") + v.name + L" " + v.usage);
            return 2;
        }
        return v.run(rest);
    }
    err(L"unknown verb: " + args[0]);
    return 2;
}

}  // namespace

}  // namespace drive

int main() {
    try {
        return drive::run(drive::commandLineArgs());
    } catch (const drive::Failure& f) {
        drive::err(L"ruzdrive: " + f.message);
        return 1;
    }
}
