// Verbs about top-level windows and processes.
#include "driver.h"

#include <algorithm>
#include <fstream>

namespace drive {

namespace {

std::wstring classArg(const std::wstring& s) {
    if (auto p = parseWindowName(s)) return windowClass(*p);
    return s;
}

std::wstring rectText(const RECT& r) {
    return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
           std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top);
}

int waitWindow(const Args& a) {
    HWND h = waitTop(classArg(a[0]), timeoutArg(a, 1, 10000));
    if (!h) {
        err(L"no window of class " + classArg(a[0]));
        return 1;
    }
    out(hex((ULONG_PTR)h));
    return 0;
}

int waitGone(const Args& a) {
    std::wstring cls = classArg(a[0]);
    DWORD timeout = timeoutArg(a, 1, 10000), start = GetTickCount();
    while (findTop(cls)) {
        if (GetTickCount() - start >= timeout) {
            err(L"a window of class " + cls + L" is still there");
            return 1;
        }
        sleepMs(50);
    }
    return 0;
}

int windows(const Args& a) {
    std::wstring cls = a.empty() ? L"" : classArg(a[0]);
    for (HWND h : topWindows(cls, false)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (cls.empty() && !isProgramProcess(pid)) continue;
        wchar_t title[512] = {};
        GetWindowTextW(h, title, 512);
        out(hex((ULONG_PTR)h) + L"\t" + std::to_wstring(pid) + L"\t" + processImageName(pid) +
            L"\t" + className(h) + L"\t" + (IsWindowVisible(h) ? L"visible" : L"hidden") + L"\t" +
            title);
    }
    return 0;
}

int windowRect(const Args& a) {
    RECT r{};
    GetWindowRect(windowArg(a, 0), &r);
    out(rectText(r));
    return 0;
}

int clientSize(const Args& a) {
    RECT r{};
    GetClientRect(windowArg(a, 0), &r);
    out(std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom));
    return 0;
}

int iconic(const Args& a) {
    out(IsIconic(windowArg(a, 0)) ? L"1" : L"0");
    return 0;
}

int count(const Args& a) {
    out(std::to_wstring(topWindows(classArg(a[0]), a.size() > 1 && a[1] == L"visible").size()));
    return 0;
}

int closeWindow(const Args& a) {
    post(windowArg(a, 0), WM_CLOSE);
    return 0;
}

int sysCommand(const Args& a, WPARAM cmd) {
    post(windowArg(a, 0), WM_SYSCOMMAND, cmd);
    return 0;
}
int minimize(const Args& a) { return sysCommand(a, SC_MINIMIZE); }
int restore(const Args& a) { return sysCommand(a, SC_RESTORE); }

int pid(const Args& a) {
    DWORD p = 0;
    GetWindowThreadProcessId(windowArg(a, 0), &p);
    out(std::to_wstring(p));
    return 0;
}

int waitExit(const Args& a) {
    DWORD p = (DWORD)intArg(a, 0, L"pid");
    HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, p);
    if (!h) {
        out(L"gone");   // already ended; its exit code can no longer be read
        return 0;
    }
    DWORD r = WaitForSingleObject(h, timeoutArg(a, 1, 10000));
    DWORD code = 0;
    GetExitCodeProcess(h, &code);
    CloseHandle(h);
    if (r != WAIT_OBJECT_0) {
        out(L"running");
        return 1;
    }
    out(L"exit " + std::to_wstring(code));
    return 0;
}

int menu(const Args& a) {
    auto id = findMenu(a[0]);
    if (!id) fail(L"unknown menu item: " + a[0]);
    HWND target;
    if (a.size() > 1)
        target = windowArg(a, 1);
    else
        target = requireWindow(a[0].find(L"迷你_") != std::wstring::npos ? Parent::Mini : Parent::Main);
    post(target, WM_COMMAND, MAKEWPARAM(*id, 0), 0);
    return 0;
}

double nowMs() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * t.QuadPart / f.QuadPart;
}

std::wstring firstLine(const std::wstring& file) {
    std::ifstream in(toUtf8(file));
    std::string line;
    std::getline(in, line);
    return utf8ToWide(line.substr(0, line.find('\r')));
}

// Every 50 ms, the time the window takes to answer WM_GETTEXT and WM_NULL in turn; the
// longest wait per phase, the phase being the first line of a file the caller rewrites.
// Ends when the file says "end" or the window is gone.
int answerWatch(const Args& a) {
    const HWND h = windowArg(a, 0);
    std::vector<std::pair<std::wstring, std::pair<double, int>>> phases;
    wchar_t buf[256];
    for (int i = 0; IsWindow(h); ++i) {
        std::wstring phase = firstLine(a[1]);
        if (phase == L"end") break;
        if (phase.empty() && !phases.empty()) phase = phases.back().first;  // caught while rewritten
        const double start = nowMs();
        DWORD_PTR result = 0;
        if (i % 2) SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
        else SendMessageTimeoutW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 60000, &result);
        const double wait = nowMs() - start;
        if (phases.empty() || phases.back().first != phase) phases.push_back({phase, {0.0, 0}});
        auto& [longest, samples] = phases.back().second;
        longest = std::max(longest, wait);
        ++samples;
        sleepMs(50);
    }
    for (const auto& [phase, figures] : phases)
        out(phase + L" " + std::to_wstring(static_cast<int>(figures.first + 0.5)) + L" " +
            std::to_wstring(figures.second));
    return 0;
}

int acp(const Args&) {
    out(std::to_wstring(GetACP()));
    return 0;
}

}  // namespace

std::vector<Verb> windowVerbs() {
    return {
        {L"wait-window", L"<main|mini|progress|class> [timeout_ms]  wait until it exists; prints its handle", 1, waitWindow},
        {L"wait-gone", L"<main|mini|progress|class> [timeout_ms]  wait until none is left", 1, waitGone},
        {L"windows", L"[class]  list top-level windows: handle pid exe class visibility title", 0, windows},
        {L"count", L"<main|mini|progress|class> [visible]  number of such windows", 1, count},
        {L"window-rect", L"<main|mini|progress>  outer rect: x y w h", 1, windowRect},
        {L"client-size", L"<main|mini|progress>  client area: w h", 1, clientSize},
        {L"iconic", L"<main|mini|progress>  1 when minimised", 1, iconic},
        {L"close", L"<main|mini|progress>  post WM_CLOSE", 1, closeWindow},
        {L"minimize", L"<main|mini>  post SC_MINIMIZE", 1, minimize},
        {L"restore", L"<main|mini>  post SC_RESTORE", 1, restore},
        {L"pid", L"<main|mini|progress>  Windows process id", 1, pid},
        {L"wait-exit", L"<pid> [timeout_ms]  prints 'exit N', 'gone' or 'running'", 1, waitExit},
        {L"menu", L"<item|id> [main|mini]  post WM_COMMAND of a menu item", 1, menu},
        {L"acp", L" prints GetACP()", 0, acp},
        {L"answer-watch", L"<main|mini|progress> <phase_file>  longest answer (ms) per phase: phase ms samples", 2, answerWatch},
    };
}

}  // namespace drive
