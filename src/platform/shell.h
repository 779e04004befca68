#pragma once
// The Windows shell and common dialogs: notification-area icon, file and folder
// choosers, the shell's own file copy, and file drop targets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ids.h"

using IconHandle = std::uintptr_t;  // 0 = no icon

// The notification-area record, field for field as the shell takes it. The texts are
// whole: the platform cuts each to its field (tip 127, balloon text 255, balloon title 63
// UTF-16 units), never inside a character.
struct TrayRecord {
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    IconHandle hIcon = 0;
    std::string szTip;
    std::uint32_t dwState = 0;
    std::uint32_t dwStateMask = 0;
    std::string szInfo;
    std::uint32_t uTimeout = 0;
    std::string szInfoTitle;
    std::uint32_t dwInfoFlags = 0;
};
enum class TrayOp : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// What the folder browser returned, before the program normalises it.
struct BrowseOutcome {
    bool itemChosen = false;     // false after Cancel
    std::string displayName;     // the display-name buffer, as filled
    bool hasPath = false;        // the item has a file-system path
    std::string path;            // that path
};

class Shell {
public:
    virtual ~Shell() = default;

    virtual bool notifyIcon(TrayOp, const TrayRecord&) = 0;
    // The tray hook: the main window's procedure is replaced by one that gives each
    // message to TrayWindowMessage first. hookMainWindow returns the window's handle.
    virtual std::uintptr_t hookMainWindow() = 0;
    virtual void unhookMainWindow() = 0;
    virtual std::uint32_t registerWindowMessage(const std::string& name) = 0;
    // An icon from one image of an ICO file (the bytes at the entry's offset).
    virtual IconHandle iconFromImage(const unsigned char* image, std::size_t size) = 0;
    virtual IconHandle mainWindowSmallIcon() = 0;
    // The side of the tray's icons in pixels, which grows with the DPI.
    virtual int smallIconSize() = 0;

    // The open-file dialog with multiple selection: full paths in the dialog's order,
    // none after Cancel. filter uses "|" between its parts.
    virtual std::vector<std::string> chooseFiles(const std::string& title, const std::string& filter) = 0;
    // The folder browser, opened with start selected when it names a folder.
    virtual BrowseOutcome browseForFolder(const std::string& title, const std::string& start) = 0;

    // The shell's copy of one file to an exact destination file path.
    virtual bool shellCopyFile(const std::string& source, const std::string& dest) = 0;

    // Shortcuts in the user's Send To folder, named without ".lnk".
    virtual std::string sendToTarget(const std::string& name) = 0;  // "" when there is none
    virtual bool createSendToShortcut(const std::string& name, const std::string& target) = 0;
    virtual bool deleteSendToShortcut(const std::string& name) = 0;  // true when none is left

    // File drops on the window of a control; dropped paths reach OnFilesDropped.
    virtual void registerDropTarget(Ctl) = 0;
    virtual void revokeDropTarget(Ctl) = 0;
};
