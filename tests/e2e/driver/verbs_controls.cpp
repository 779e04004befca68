// Verbs about single controls: text, state, clicks, combo boxes, the tab control.
#include "driver.h"

#include <commctrl.h>

namespace drive {

namespace {

// A window name (main/mini/progress) or a control name.
HWND target(const std::wstring& s) {
    if (auto p = parseWindowName(s)) return requireWindow(*p);
    return requireControl(s);
}

// A person can only use a control that is shown and enabled.
void requireUsable(HWND h, const std::wstring& name) {
    if (!IsWindowVisible(h)) fail(name + L" is not visible");
    if (!IsWindowEnabled(h)) fail(name + L" is disabled");
}

bool waitFor(DWORD timeoutMs, auto done) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        sleepMs(30);
    }
    return true;
}

int text(const Args& a) {
    out(windowText(target(a[0])));
    return 0;
}

int setText(const Args& a) {
    HWND h = requireControl(a[0]);
    requireUsable(h, a[0]);
    send(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[1].c_str()));
    return 0;
}

int ctlRect(const Args& a) {
    HWND h = requireControl(a[0]);
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    out(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
        std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
    return 0;
}

int ctlClass(const Args& a) {
    out(className(target(a[0])));
    return 0;
}

int style(const Args& a) {
    out(hex((ULONG)GetWindowLongW(target(a[0]), GWL_STYLE)));
    return 0;
}

int visible(const Args& a) {
    out(IsWindowVisible(target(a[0])) ? L"1" : L"0");
    return 0;
}

int enabled(const Args& a) {
    out(IsWindowEnabled(target(a[0])) ? L"1" : L"0");
    return 0;
}

int checked(const Args& a) {
    out(std::to_wstring(send(requireControl(a[0]), BM_GETCHECK)));
    return 0;
}

int click(const Args& a) {
    HWND h = requireControl(a[0]);
    requireUsable(h, a[0]);
    // Posted: the click may open a modal box, which would hold a sent message.
    post(h, BM_CLICK);
    return 0;
}

int setCheck(const Args& a) {
    HWND h = requireControl(a[0]);
    LRESULT want = intArg(a, 1, L"0|1");
    if (send(h, BM_GETCHECK) != want) {
        requireUsable(h, a[0]);
        post(h, BM_CLICK);
        waitFor(3000, [&] { return send(h, BM_GETCHECK) == want; });
    }
    LRESULT now = send(h, BM_GETCHECK);
    out(std::to_wstring(now));
    return now == want ? 0 : 1;
}

int combo(const Args& a) {
    HWND h = requireControl(a[0]);
    if (a.size() > 1) {
        requireUsable(h, a[0]);
        LRESULT want = intArg(a, 1, L"index");
        if (send(h, CB_SETCURSEL, (WPARAM)want) != want) fail(L"no item " + a[1]);
        // What the box itself tells its parent when a person picks an item.
        post(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
             reinterpret_cast<LPARAM>(h));
    }
    out(std::to_wstring(send(h, CB_GETCURSEL)));
    return 0;
}

int comboItems(const Args& a) {
    HWND h = requireControl(a[0]);
    LRESULT n = send(h, CB_GETCOUNT);
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT len = send(h, CB_GETLBTEXTLEN, i);
        std::wstring s(len > 0 ? len + 1 : 1, L'\0');
        LRESULT got = send(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
        s.resize(got > 0 ? got : 0);
        out(s);
    }
    return 0;
}

HWND tabControl() { return requireControl(L"选择夹1"); }

int tab(const Args& a) {
    HWND h = tabControl();
    if (!a.empty()) {
        requireUsable(h, L"选择夹1");
        LRESULT want = intArg(a, 0, L"index");
        if (want < 0 || want >= send(h, TCM_GETITEMCOUNT)) fail(L"no tab page " + a[0]);
        if (send(h, TCM_GETCURSEL) != want) {
            // A click on the tab: the control then notifies the page switching code itself.
            RECT r = remoteRect(h, TCM_GETITEMRECT, (WPARAM)want);
            clickAt(h, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            if (!waitFor(3000, [&] { return send(h, TCM_GETCURSEL) == want; }))
                fail(L"the page did not change");
        }
    }
    out(std::to_wstring(send(h, TCM_GETCURSEL)));
    return 0;
}

int tabCount(const Args&) {
    out(std::to_wstring(send(tabControl(), TCM_GETITEMCOUNT)));
    return 0;
}

int tabText(const Args& a) {
    HWND h = tabControl();
    const size_t chars = 256;
    RemoteBuffer mem(h, sizeof(TCITEMW) + chars * sizeof(wchar_t));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<wchar_t*>(mem.at(sizeof item));
    item.cchTextMax = chars;
    mem.write(0, &item, sizeof item);
    if (!send(h, TCM_GETITEMW, (WPARAM)intArg(a, 0, L"index"), mem.lp()))
        fail(L"no tab page " + a[0]);
    mem.read(0, &item, sizeof item);
    // The control may point pszText at its own copy.
    if (item.pszText != mem.at(sizeof item)) fail(L"tab text not copied into the buffer");
    out(mem.readString(sizeof item, chars));
    return 0;
}

int progress(const Args& a) {
    out(std::to_wstring(send(requireControl(a[0]), PBM_GETPOS)));
    return 0;
}

int progressRange(const Args& a) {
    HWND h = requireControl(a[0]);
    out(std::to_wstring(send(h, PBM_GETRANGE, TRUE)) + L" " +
        std::to_wstring(send(h, PBM_GETRANGE, FALSE)));
    return 0;
}

// The control that has the keyboard focus in the program's main window, by name.
int focused(const Args&) {
    HWND main = requireWindow(Parent::Main);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) || !info.hwndFocus) fail(L"no focus");
    for (const auto& n : controlNames()) {
        auto ref = findControl(n);
        if (ref && ref->parent == Parent::Main && GetDlgCtrlID(info.hwndFocus) == ref->id &&
            IsChild(main, info.hwndFocus)) {
            out(n);
            return 0;
        }
    }
    out(info.hwndFocus == main ? L"main" : L"?" + className(info.hwndFocus));
    return 0;
}

int names(const Args&) {
    for (const auto& n : controlNames()) {
        auto ref = findControl(n);
        out(n + L"\t" + std::to_wstring(ref ? ref->id : -1));
    }
    for (const auto& n : menuNames()) out(L"MenuItem::" + n + L"\t" + std::to_wstring(*findMenu(n)));
    return 0;
}

}  // namespace

std::vector<Verb> controlVerbs() {
    return {
        {L"text", L"<ctl|main|mini|progress>  WM_GETTEXT", 1, text},
        {L"set-text", L"<ctl> <text>  WM_SETTEXT (as typing into an edit box)", 2, setText},
        {L"ctl-rect", L"<ctl>  x y w h in the parent's client area", 1, ctlRect},
        {L"class", L"<ctl|main|mini|progress>  window class", 1, ctlClass},
        {L"style", L"<ctl|main|mini|progress>  window style in hex", 1, style},
        {L"visible", L"<ctl|main|mini|progress>  1 or 0", 1, visible},
        {L"enabled", L"<ctl|main|mini|progress>  1 or 0", 1, enabled},
        {L"checked", L"<ctl>  BM_GETCHECK: 0, 1 or 2", 1, checked},
        {L"click", L"<ctl>  post BM_CLICK (fails when hidden or disabled)", 1, click},
        {L"set-check", L"<ctl> <0|1>  click when the state differs; prints the new state", 2, setCheck},
        {L"combo", L"<ctl> [index]  read or pick (CB_SETCURSEL + CBN_SELCHANGE)", 1, combo},
        {L"combo-items", L"<ctl>  one item per line", 1, comboItems},
        {L"tab", L"[index]  read or select the page of 选择夹1 by clicking its tab", 0, tab},
        {L"tab-count", L" number of pages of 选择夹1", 0, tabCount},
        {L"tab-text", L"<index>  caption of a page of 选择夹1", 1, tabText},
        {L"progress", L"<ctl>  PBM_GETPOS", 1, progress},
        {L"progress-range", L"<ctl>  min max", 1, progressRange},
        {L"names", L" every control and menu name with its id", 0, names},
        {L"focused", L" the main window's control with the keyboard focus", 0, focused},
    };
}

}  // namespace drive
