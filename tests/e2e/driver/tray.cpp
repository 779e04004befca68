// Verbs for the notification icon: Wine shows icons as child windows of its own tray
// window (in explorer.exe) when no desktop tray exists, and balloons as tooltips there.
#include "driver.h"

#include <commctrl.h>

namespace drive {

namespace {

std::vector<HWND> trayIcons() {
    std::vector<HWND> icons;
    for (HWND tray : topWindows(L"__winex11_standalone_tray", false)) {
        for (HWND c = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); c;
             c = FindWindowExW(tray, c, L"__winex11_tray_icon", nullptr))
            icons.push_back(c);
    }
    return icons;
}

// Tray and balloons belong to explorer.exe, not to the program: no process filter here.
struct Unfiltered {
    Options saved = g_options;
    Unfiltered() { g_options = {}; }
    ~Unfiltered() { g_options = saved; }
};

int count(const Args&) {
    Unfiltered u;
    out(std::to_wstring(trayIcons().size()));
    return 0;
}

int click(const Args& a) {
    Unfiltered u;
    auto icons = trayIcons();
    long long index = a.size() > 1 ? intArg(a, 1, L"index") : 0;
    if (index < 0 || index >= (long long)icons.size()) fail(L"no tray icon " + std::to_wstring(index));
    HWND icon = icons[index];
    RECT r{};
    GetClientRect(icon, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    if (a[0] == L"left") {
        post(icon, WM_LBUTTONDOWN, MK_LBUTTON, at);
        post(icon, WM_LBUTTONUP, 0, at);
    } else if (a[0] == L"right") {
        post(icon, WM_RBUTTONDOWN, MK_RBUTTON, at);
        post(icon, WM_RBUTTONUP, 0, at);
    } else if (a[0] == L"dbl") {
        post(icon, WM_LBUTTONDOWN, MK_LBUTTON, at);
        post(icon, WM_LBUTTONUP, 0, at);
        post(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        post(icon, WM_LBUTTONUP, 0, at);
    } else {
        fail(L"unknown click: " + a[0]);
    }
    return 0;
}

int balloon(const Args& a) {
    Unfiltered u;
    DWORD timeout = timeoutArg(a, 0, 0), start = GetTickCount();
    for (;;) {
        for (HWND h : topWindows(TOOLTIPS_CLASSW, true)) {
            std::wstring t = windowText(h);
            if (!t.empty()) {
                out(t);
                return 0;
            }
        }
        if (GetTickCount() - start >= timeout) break;
        sleepMs(50);
    }
    err(L"no balloon");
    return 1;
}

// The context menu a right click opens: a visible #32768 window.
int popup(const Args& a) {
    Unfiltered u;
    auto menus = topWindows(L"#32768", true);
    out(menus.empty() ? L"0" : L"1");
    if (menus.empty() || a.empty()) return 0;
    // Keys go to the menu window, whose owner thread runs the menu loop.
    HWND m = menus.front();
    for (const auto& key : a) {
        WPARAM vk = key == L"down" ? VK_DOWN : key == L"up" ? VK_UP
                  : key == L"enter" ? VK_RETURN : key == L"esc" ? VK_ESCAPE : 0;
        if (!vk) fail(L"unknown key: " + key);
        post(m, WM_KEYDOWN, vk, 1);
        post(m, WM_KEYUP, vk, (LPARAM)0xC0000001);
        sleepMs(100);
    }
    return 0;
}

}  // namespace

std::vector<Verb> trayVerbs() {
    return {
        {L"tray-count", L" number of notification icons", 0, count},
        {L"tray-click", L"<left|right|dbl> [index]  click a notification icon", 1, click},
        {L"balloon", L"[timeout_ms]  text of the visible balloon", 0, balloon},
        {L"popup", L"[down|up|enter|esc]...  1 when a popup menu is open; sends it keys", 0, popup},
    };
}

}  // namespace drive
