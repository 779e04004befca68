// The user's Send To shortcuts, through the shell's link object.
#include <windows.h>
#include <shlobj.h>

#include <memory>

#include "platform/win32/wide_text.h"
#include "platform/win32/win_shell.h"

namespace {

struct ComRelease {
    void operator()(IUnknown* p) const { p->Release(); }
};
template <class T>
using Com = std::unique_ptr<T, ComRelease>;

// The shortcut's full name, or "" when the Send To folder is unknown.
std::wstring ShortcutPath(const std::string& name) {
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return std::wstring(folder) + L"\\" + Wide(name) + L".lnk";
}

struct Link {
    Com<IShellLinkW> link;
    Com<IPersistFile> file;
};

Link NewLink() {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return {};
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    return {Com<IShellLinkW>(link), Com<IPersistFile>(file)};
}

}  // namespace

std::string WinShell::sendToTarget(const std::string& name) {
    const std::wstring path = ShortcutPath(name);
    const Link l = NewLink();
    if (path.empty() || !l.file || FAILED(l.file->Load(path.c_str(), STGM_READ))) return "";
    wchar_t target[MAX_PATH] = L"";
    if (l.link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return "";
    return Narrow(target);
}

bool WinShell::createSendToShortcut(const std::string& name, const std::string& target) {
    const std::wstring path = ShortcutPath(name);
    const Link l = NewLink();
    return !path.empty() && l.file && SUCCEEDED(l.link->SetPath(Wide(target).c_str())) &&
           SUCCEEDED(l.file->Save(path.c_str(), TRUE));
}

bool WinShell::deleteSendToShortcut(const std::string& name) {
    const std::wstring path = ShortcutPath(name);
    return !path.empty() && (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
}
