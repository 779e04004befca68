// Finding the program's windows and controls, and talking to them.
#include "driver.h"

#include <algorithm>
#include <cwctype>

namespace drive {

Options g_options;

namespace {

std::wstring lower(std::wstring s) {
    for (auto& c : s) c = (wchar_t)std::towlower(c);
    return s;
}

bool passesFilter(DWORD pid) {
    if (g_options.pid && pid != g_options.pid) return false;
    if (!g_options.exe.empty() && lower(processImageName(pid)) != lower(g_options.exe))
        return false;
    return true;
}

struct EnumState {
    std::wstring cls;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND h, LPARAM lp) {
    auto* st = reinterpret_cast<EnumState*>(lp);
    if (st->visibleOnly && !IsWindowVisible(h)) return TRUE;
    if (!st->cls.empty() && className(h) != st->cls) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (passesFilter(pid)) st->found.push_back(h);
    return TRUE;
}

}  // namespace

void sleepMs(DWORD ms) { Sleep(ms); }

std::wstring processImageName(DWORD pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!p) return {};
    wchar_t buf[MAX_PATH * 2];
    DWORD n = MAX_PATH * 2;
    std::wstring name;
    if (QueryFullProcessImageNameW(p, 0, buf, &n)) {
        name.assign(buf, n);
        size_t slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos) name = name.substr(slash + 1);
    }
    CloseHandle(p);
    return name;
}

bool isProgramProcess(DWORD pid) {
    if (!passesFilter(pid)) return false;
    if (!g_options.exe.empty() || g_options.pid) return true;
    // Without a filter: any process owning one of the program's window classes.
    for (Parent p : {Parent::Main, Parent::Mini, Parent::Progress})
        for (HWND h : topWindows(windowClass(p), false)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == pid) return true;
        }
    return lower(processImageName(pid)) == L"ruzorize3.exe";
}

std::vector<HWND> topWindows(const std::wstring& cls, bool visibleOnly) {
    EnumState st{cls, visibleOnly, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&st));
    return st.found;
}

HWND findTop(const std::wstring& cls) {
    auto all = topWindows(cls, false);
    return all.empty() ? nullptr : all.front();
}

HWND waitTop(const std::wstring& cls, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = findTop(cls)) return h;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        sleepMs(50);
    }
}

std::optional<Parent> parseWindowName(const std::wstring& s) {
    if (s == L"main") return Parent::Main;
    if (s == L"mini") return Parent::Mini;
    if (s == L"progress") return Parent::Progress;
    return std::nullopt;
}

HWND requireWindow(Parent p) {
    HWND h = findTop(windowClass(p));
    if (!h) fail(L"no window of class " + windowClass(p));
    return h;
}

HWND requireControl(const std::wstring& name) {
    auto ref = findControl(name);
    if (!ref) fail(L"unknown control name: " + name);
    HWND parent = requireWindow(ref->parent);
    HWND h = GetDlgItem(parent, ref->id);
    if (!h) fail(L"control " + name + L" (id " + std::to_wstring(ref->id) + L") does not exist");
    return h;
}

std::wstring className(HWND h) {
    wchar_t buf[256];
    int n = GetClassNameW(h, buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

LRESULT send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, 10000, &result))
        fail(L"the window did not answer message " + hex(msg));
    return (LRESULT)result;
}

void post(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (!PostMessageW(h, msg, wp, lp)) fail(L"could not post message " + hex(msg));
}

std::wstring windowText(HWND h) {
    LRESULT len = send(h, WM_GETTEXTLENGTH);
    std::wstring buf((size_t)len + 2, L'\0');
    LRESULT got = send(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(std::min<size_t>((size_t)got, buf.size()));
    return buf;
}

}  // namespace drive
