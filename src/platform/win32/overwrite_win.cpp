#include "platform/win32/overwrite_win.h"

#include <algorithm>
#include <atomic>

#include "platform/win32/wide_text.h"

namespace {

// One job asks one question at a time; Cancel closes it from the main thread.
std::atomic<HWND> openQuestion{nullptr};
std::atomic<bool> openIsTaskDialog{false};

struct Placing {
    HWND centreOn;
    bool onTop;  // no owner keeps it in front
};

// The start of a length centred on [from, to), kept inside [low, high).
LONG Centred(LONG from, LONG to, LONG length, LONG low, LONG high) {
    return std::clamp((from + to - length) / 2, low, std::max(low, high - length));
}

// Wine's task dialog centres only the first of a process, and a box without an owner
// opens where the system likes: place it here, inside the screen's work area.
void Place(HWND dialog, const Placing& placing) {
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromWindow(placing.centreOn, MONITOR_DEFAULTTOPRIMARY), &screen);
    const RECT& work = screen.rcWork;
    RECT box{}, around = work;
    GetWindowRect(dialog, &box);
    if (IsWindowVisible(placing.centreOn) && !IsIconic(placing.centreOn)) GetWindowRect(placing.centreOn, &around);
    const LONG x = Centred(around.left, around.right, box.right - box.left, work.left, work.right);
    const LONG y = Centred(around.top, around.bottom, box.bottom - box.top, work.top, work.bottom);
    SetWindowPos(dialog, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | (placing.onTop ? 0 : SWP_NOZORDER));
}

thread_local const Placing* boxPlacing;  // for the hook of the message box this thread shows

LRESULT CALLBACK PlaceBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && boxPlacing) {
        Place(reinterpret_cast<HWND>(wParam), *boxPlacing);
        boxPlacing = nullptr;
        openIsTaskDialog = false;
        openQuestion = reinterpret_cast<HWND>(wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

OverwriteAnswer AskByMessageBox(HWND owner, const Placing& placing, const std::string& text, const std::string& title,
                                const std::string& details) {
    UINT style = MB_OKCANCEL | MB_ICONQUESTION;
    if (!owner) style |= MB_SETFOREGROUND | MB_TOPMOST;
    const std::string whole = details.empty() ? text : text + "\r\n\r\n" + details;
    boxPlacing = &placing;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(owner, Wide(whole).c_str(), Wide(title).c_str(), style);
    openQuestion = nullptr;
    if (hook) UnhookWindowsHookEx(hook);
    boxPlacing = nullptr;
    return {answer == IDOK, false};
}

HRESULT CALLBACK OnQuestionEvent(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR placing) {
    if (notification == TDN_CREATED) {
        Place(dialog, *reinterpret_cast<const Placing*>(placing));
        openIsTaskDialog = true;
        openQuestion = dialog;
    } else if (notification == TDN_DESTROYED) {
        openQuestion = nullptr;
    }
    return S_OK;
}

}  // namespace

TaskDialogFunction FindTaskDialog() {
    // Only version 6 exports it; the manifest makes that the comctl32 the exe loads.
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect");
    return reinterpret_cast<TaskDialogFunction>(reinterpret_cast<void (*)()>(found));
}

OverwriteAnswer AskOverwrite(TaskDialogFunction taskDialog, HWND owner, HWND centreOn, const std::string& text,
                             const std::string& title, const std::string& details) {
    const Placing placing{centreOn, owner == nullptr};
    if (!taskDialog) return AskByMessageBox(owner, placing, text, title, details);
    const std::wstring wideText = Wide(text), wideTitle = Wide(title), wideDetails = Wide(details);
    const std::wstring overwrite = Wide("覆盖"), skip = Wide("跳过"), forRest = Wide("对其余已存在的文件也这样做");
    // The ids of OK and Cancel: Esc and the close box answer IDCANCEL, which is 跳过.
    const TASKDIALOG_BUTTON buttons[] = {{IDOK, overwrite.c_str()}, {IDCANCEL, skip.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_USE_HICON_MAIN | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = wideTitle.c_str();
    config.hMainIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32514));  // IDI_QUESTION: no TD_ icon asks a question
    config.pszMainInstruction = wideText.c_str();
    config.pszContent = details.empty() ? nullptr : wideDetails.c_str();
    config.cButtons = 2;
    config.pButtons = buttons;
    config.nDefaultButton = IDOK;
    config.pszVerificationText = forRest.c_str();
    config.pfCallback = OnQuestionEvent;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&placing);
    int button = IDCANCEL;
    BOOL checked = FALSE;
    if (FAILED(taskDialog(&config, &button, nullptr, &checked)))
        return AskByMessageBox(owner, placing, text, title, details);
    return {button == IDOK, checked != FALSE};
}

void CloseOverwriteQuestion() {
    const HWND question = openQuestion;
    if (!question) return;
    if (openIsTaskDialog) PostMessageW(question, TDM_CLICK_BUTTON, IDCANCEL, 0);
    else PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
}
