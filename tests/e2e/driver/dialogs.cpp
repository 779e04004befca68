// Verbs for the program's dialog boxes: message boxes and the open-file dialog.
#include "driver.h"

namespace drive {

namespace {

constexpr int kNameBoxIds[] = {0x47c, 0x480};   // the open-file dialog's name box

HWND nameBox(HWND dlg) {
    for (int id : kNameBoxIds)
        if (HWND h = GetDlgItem(dlg, id)) return h;
    return nullptr;
}

std::vector<HWND> programDialogs() {
    std::vector<HWND> found;
    for (HWND h : topWindows(L"#32770", true)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (isProgramProcess(pid)) found.push_back(h);
    }
    return found;
}

HWND waitDialog(DWORD timeoutMs, bool fileDialog) {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND h : programDialogs())
            if ((nameBox(h) != nullptr) == fileDialog) return h;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        sleepMs(50);
    }
}

bool waitClosed(HWND h, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(h) && IsWindowVisible(h)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        sleepMs(50);
    }
    return true;
}

struct BoxContent {
    std::wstring title, text, buttons;
};

BOOL CALLBACK readChild(HWND h, LPARAM lp) {
    auto* box = reinterpret_cast<BoxContent*>(lp);
    std::wstring cls = className(h);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    if (!(style & WS_VISIBLE)) return TRUE;
    if (_wcsicmp(cls.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON) {
        std::wstring t = windowText(h);
        if (!t.empty()) box->text += (box->text.empty() ? L"" : L"\n") + t;
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        box->buttons += (box->buttons.empty() ? L"" : L"|") + windowText(h);
    }
    return TRUE;
}

BoxContent readBox(HWND box) {
    BoxContent c;
    c.title = windowText(box);
    EnumChildWindows(box, readChild, reinterpret_cast<LPARAM>(&c));
    std::wstring clean;
    for (wchar_t ch : c.text)
        if (ch != L'\r') clean += ch;
    c.text = clean;
    return c;
}

void printBox(const BoxContent& c) {
    out(L"title: " + c.title);
    out(L"text: " + c.text);
    out(L"buttons: " + c.buttons);
}

int msgbox(const Args& a) {
    HWND box = waitDialog(timeoutArg(a, 0, 5000), false);
    if (!box) {
        err(L"no message box");
        return 1;
    }
    printBox(readBox(box));
    return 0;
}

int answerId(const std::wstring& s) {
    if (s == L"ok") return IDOK;
    if (s == L"cancel") return IDCANCEL;
    if (s == L"yes") return IDYES;
    if (s == L"no") return IDNO;
    if (s == L"retry") return IDRETRY;
    if (s == L"abort") return IDABORT;
    if (s == L"ignore") return IDIGNORE;
    fail(L"unknown answer: " + s);
}

BOOL CALLBACK tickCheckBox(HWND h, LPARAM ticked) {
    const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(className(h).c_str(), L"Button") != 0 || (type != BS_AUTOCHECKBOX && type != BS_CHECKBOX)) return TRUE;
    SendMessageW(h, BM_CLICK, 0, 0);
    *reinterpret_cast<bool*>(ticked) = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return FALSE;
}

// Answers even when the text is not the expected one, so the program is not left blocked.
// "ok+all" ticks the box's check box first (the answer for the rest of the job).
int msgboxAnswer(const Args& a) {
    const bool forAll = a[0].ends_with(L"+all");
    int id = answerId(forAll ? a[0].substr(0, a[0].size() - 4) : a[0]);
    std::wstring expect = a.size() > 1 ? a[1] : L"";
    HWND box = waitDialog(timeoutArg(a, 2, 5000), false);
    if (!box) {
        err(L"no message box");
        return 1;
    }
    BoxContent c = readBox(box);
    printBox(c);
    HWND button = GetDlgItem(box, id);
    if (!button) fail(L"the box has no button " + a[0]);
    bool ticked = false;
    if (forAll) EnumChildWindows(box, tickCheckBox, reinterpret_cast<LPARAM>(&ticked));
    if (forAll && !ticked) fail(L"the box has no check box to tick");
    post(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!waitClosed(box, 5000)) fail(L"the box did not close");
    if (c.text.find(expect) == std::wstring::npos && c.title.find(expect) == std::wstring::npos) {
        err(L"expected text not in the box: " + expect);
        return 1;
    }
    return 0;
}

// "/tmp/x" → "Z:\tmp\x": the Unix root is drive Z: under Wine.
std::wstring windowsPath(std::wstring p) {
    if (!p.empty() && p[0] == L'/') p = L"Z:" + p;
    for (auto& c : p)
        if (c == L'/') c = L'\\';
    return p;
}

int fileDialog(const Args& a) {
    HWND dlg = waitDialog(10000, true);
    if (!dlg) {
        err(L"no open-file dialog");
        return 1;
    }
    HWND box = nameBox(dlg);
    std::wstring folder = windowsPath(a[0]);
    send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    post(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    // Going into a folder empties the name box.
    DWORD start = GetTickCount();
    while (windowText(box) == folder && GetTickCount() - start < 5000) sleepMs(50);
    if (windowText(box) == folder) fail(L"the dialog did not open " + folder);
    sleepMs(200);

    std::wstring names;
    for (size_t i = 1; i < a.size(); ++i) names += (i > 1 ? L" \"" : L"\"") + a[i] + L"\"";
    send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    post(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    if (!waitClosed(dlg, 5000)) {
        if (HWND other = waitDialog(500, false)) printBox(readBox(other));
        fail(L"the open-file dialog is still open");
    }
    return 0;
}

int fileDialogCancel(const Args&) {
    HWND dlg = waitDialog(10000, true);
    if (!dlg) {
        err(L"no open-file dialog");
        return 1;
    }
    post(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
    return waitClosed(dlg, 5000) ? 0 : 1;
}

int fileDialogShown(const Args& a) {
    HWND dlg = waitDialog(timeoutArg(a, 0, 0), true);
    out(dlg ? L"1" : L"0");
    if (dlg) out(L"title: " + windowText(dlg));
    return 0;
}

}  // namespace

std::vector<Verb> dialogVerbs() {
    return {
        {L"msgbox", L"[timeout_ms]  wait for a message box of the program; prints title, text, buttons", 0, msgbox},
        {L"msgbox-answer", L"<ok|cancel|yes|no|retry|abort|ignore>[+all] [expect-substring] [timeout_ms]", 1, msgboxAnswer},
        {L"filedialog", L"<folder> <name>...  pick files in the open-file dialog (folder may be a Unix path)", 2, fileDialog},
        {L"filedialog-cancel", L" cancel the open-file dialog", 0, fileDialogCancel},
        {L"filedialog-shown", L"[timeout_ms]  1 (and its title) when an open-file dialog is up, else 0", 0, fileDialogShown},
    };
}

}  // namespace drive
