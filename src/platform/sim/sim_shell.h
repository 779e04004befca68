#pragma once
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/shell.h"

struct SimNotify {
    TrayOp op;
    TrayRecord record;
};

class SimShell : public Shell {
public:
    bool notifyIcon(TrayOp op, const TrayRecord& r) override;
    IconHandle iconFromImage(const unsigned char* image, std::size_t size) override;
    IconHandle mainWindowSmallIcon() override { return smallIcon; }
    int smallIconSize() override { return smallIconSide; }
    std::uintptr_t hookMainWindow() override;
    void unhookMainWindow() override;
    std::uint32_t registerWindowMessage(const std::string& name) override;
    std::vector<std::string> chooseFiles(const std::string& title, const std::string& filter) override;
    BrowseOutcome browseForFolder(const std::string& title, const std::string& start) override;
    bool shellCopyFile(const std::string& source, const std::string& dest) override;
    void registerDropTarget(Ctl c) override { dropTargets.insert(c); }
    void revokeDropTarget(Ctl c) override { dropTargets.erase(c); }
    std::string sendToTarget(const std::string& name) override;
    bool createSendToShortcut(const std::string& name, const std::string& target) override;
    bool deleteSendToShortcut(const std::string& name) override;

    std::vector<SimNotify> notifications;   // every shell call, with the record as sent
    IconHandle smallIcon = 0x5A11;
    int smallIconSide = 16;
    std::uintptr_t mainWindow = 0x10A0;
    bool hooked = false;                      // the main window's procedure is replaced
    int hookChanges = 0;                      // hook and unhook calls
    std::vector<std::string> registeredMessages;  // numbered 0xC000 on, in order
    std::vector<std::size_t> iconImageSizes;  // sizes handed to iconFromImage
    std::string lastDialogTitle, lastDialogFilter, lastBrowseStart;
    std::deque<std::vector<std::string>> chosenFiles;  // answers of the open-file dialog
    std::deque<BrowseOutcome> browseAnswers;           // answers of the folder browser
    std::set<Ctl> dropTargets;
    std::map<std::string, std::string> sendTo;  // shortcut name -> target
    bool sendToWritable = true;
    // The shell copy, as a test wants it to behave.
    std::function<bool(const std::string&, const std::string&)> onShellCopy;
};
