#include <shlobj.h>

#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT |
                              BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
static_assert(kBrowseFlags == 0x77);

}  // namespace

BrowseOutcome WinShell::browseForFolder(const std::string& title) {
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
    info.lpfn = nullptr;
    info.lParam = 0;
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
