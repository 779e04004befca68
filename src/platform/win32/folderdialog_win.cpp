#include <shlobj.h>

#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"

namespace {

constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT |
                              BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
static_assert(kBrowseFlags == 0x77);

}  // namespace

BrowseOutcome WinShell::browseForFolder(const std::string& title) {
    const HWND owner = TheUi().window(Wnd::Main);
    PIDLIST_ABSOLUTE desktop = nullptr;
    SHGetFolderLocation(owner, CSIDL_DESKTOP, nullptr, 0, &desktop);

    std::string displayName(MAX_PATH, ' ');
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = desktop;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = title.c_str();
    info.ulFlags = kBrowseFlags;
    info.lpfn = nullptr;
    info.lParam = 0;
    info.iImage = 0;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);

    BrowseOutcome out;
    out.itemChosen = item != nullptr;
    out.displayName = displayName.c_str();
    if (item) {
        std::string path(MAX_PATH, ' ');
        out.hasPath = SHGetPathFromIDListA(item, path.data()) != FALSE;
        if (out.hasPath) out.path = path.c_str();
    }
    CoTaskMemFree(item);
    CoTaskMemFree(desktop);
    return out;
}
