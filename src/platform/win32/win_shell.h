#pragma once
// The shell on Windows. Each group of methods lives in its own file:
// tray_win.cpp, filedialog_win.cpp, folderdialog_win.cpp, shellcopy_win.cpp, droptarget_win.cpp,
// sendto_win.cpp.
#include <windows.h>
#include <unknwn.h>
#include <oleidl.h>

#include <map>

#include "platform/shell.h"

struct App;

class WinShell : public Shell {
public:
    bool notifyIcon(TrayOp, const TrayRecord&) override;
    IconHandle iconFromImage(const unsigned char* image, std::size_t size) override;
    IconHandle mainWindowSmallIcon() override;
    int smallIconSize() override { return GetSystemMetrics(SM_CXSMICON); }
    std::uintptr_t hookMainWindow() override;
    void unhookMainWindow() override;
    std::uint32_t registerWindowMessage(const std::string& name) override;
    std::vector<std::string> chooseFiles(const std::string& title, const std::string& filter) override;
    BrowseOutcome browseForFolder(const std::string& title, const std::string& start) override;
    bool shellCopyFile(const std::string& source, const std::string& dest) override;
    void registerDropTarget(Ctl) override;
    void revokeDropTarget(Ctl) override;
    std::string sendToTarget(const std::string& name) override;  // sendto_win.cpp
    bool createSendToShortcut(const std::string& name, const std::string& target) override;
    bool deleteSendToShortcut(const std::string& name) override;

    App* app = nullptr;  // where dropped files go

private:
    struct DropRegistration {
        HWND window;
        IDropTarget* target;
    };
    std::map<Ctl, DropRegistration> dropTargets_;
};
