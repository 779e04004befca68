#include <shlobj.h>

#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT |
                              BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
static_assert(kBrowseFlags == 0x77);

// Opens the browser at the folder passed in lParam.
int CALLBACK SelectStart(HWND dialog, UINT msg, LPARAM, LPARAM start) {
    if (msg == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

}  // namespace

BrowseOutcome WinShell::browseForFolder(const std::string& title, const std::string& start) {
    const HWND owner = TheUi().window(Wnd::Main);
    PIDLIST_ABSOLUTE desktop = nullptr;
    SHGetFolderLocation(owner, CSIDL_DESKTOP, nullptr, 0, &desktop);

    std::wstring displayName(MAX_PATH, L' ');
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = desktop;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = kBrowseFlags;
    const std::wstring wideStart = Wide(start);
    info.lpfn = start.empty() ? nullptr : SelectStart;
    info.lParam = reinterpret_cast<LPARAM>(wideStart.c_str());
    info.iImage = 0;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);

    BrowseOutcome out;
    out.itemChosen = item != nullptr;
    out.displayName = Narrow(displayName.c_str());
    if (item) {
        std::wstring path(MAX_PATH, L' ');
        out.hasPath = SHGetPathFromIDListW(item, path.data()) != FALSE;
        if (out.hasPath) out.path = Narrow(path.c_str());
    }
    CoTaskMemFree(item);
    CoTaskMemFree(desktop);
    return out;
}
