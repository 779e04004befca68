#include "platform/win32/overwrite_win.h"

#include <atomic>

#include "platform/win32/wide_text.h"

namespace {

std::atomic<HWND> openQuestion{nullptr};  // one job asks one question at a time

OverwriteAnswer AskByMessageBox(HWND owner, const std::string& text, const std::string& title,
                                const std::string& details) {
    UINT style = MB_OKCANCEL | MB_ICONQUESTION;
    if (!owner) style |= MB_SETFOREGROUND | MB_TOPMOST;
    const std::string whole = details.empty() ? text : text + "\r\n\r\n" + details;
    return {MessageBoxW(owner, Wide(whole).c_str(), Wide(title).c_str(), style) == IDOK, false};
}

HRESULT CALLBACK OnQuestionEvent(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR ownerless) {
    if (notification == TDN_CREATED) {
        openQuestion = dialog;
        if (ownerless) SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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

OverwriteAnswer AskOverwrite(TaskDialogFunction taskDialog, HWND owner, const std::string& text,
                             const std::string& title, const std::string& details) {
    if (!taskDialog) return AskByMessageBox(owner, text, title, details);
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
    config.lpCallbackData = owner ? 0 : 1;
    int button = IDCANCEL;
    BOOL checked = FALSE;
    if (FAILED(taskDialog(&config, &button, nullptr, &checked))) return AskByMessageBox(owner, text, title, details);
    return {button == IDOK, checked != FALSE};
}

void CloseOverwriteQuestion() {
    if (HWND dialog = openQuestion) PostMessageW(dialog, TDM_CLICK_BUTTON, IDCANCEL, 0);
}
