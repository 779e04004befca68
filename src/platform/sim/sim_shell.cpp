#include "platform/sim/sim_shell.h"

bool SimShell::notifyIcon(TrayOp op, const TrayRecord& r) {
    notifications.push_back({op, r});
    return true;
}

std::uintptr_t SimShell::hookMainWindow() {
    hooked = true;
    ++hookChanges;
    return mainWindow;
}

void SimShell::unhookMainWindow() {
    hooked = false;
    ++hookChanges;
}

std::uint32_t SimShell::registerWindowMessage(const std::string& name) {
    registeredMessages.push_back(name);
    return 0xC000 + static_cast<std::uint32_t>(registeredMessages.size()) - 1;
}

IconHandle SimShell::iconFromImage(const unsigned char* image, std::size_t size) {
    iconImageSizes.push_back(size);
    // A real icon needs at least a bitmap header; anything shorter is refused.
    return image && size >= 40 ? 0x1C00 + iconImageSizes.size() : 0;
}

std::vector<std::string> SimShell::chooseFiles(const std::string& title, const std::string& filter) {
    lastDialogTitle = title;
    lastDialogFilter = filter;
    if (chosenFiles.empty()) return {};
    auto files = std::move(chosenFiles.front());
    chosenFiles.pop_front();
    return files;
}

BrowseOutcome SimShell::browseForFolder(const std::string& title, const std::string& start) {
    lastDialogTitle = title;
    lastBrowseStart = start;
    if (browseAnswers.empty()) return {};
    auto answer = browseAnswers.front();
    browseAnswers.pop_front();
    return answer;
}

bool SimShell::shellCopyFile(const std::string& source, const std::string& dest) {
    return onShellCopy ? onShellCopy(source, dest) : false;
}

std::string SimShell::sendToTarget(const std::string& name) {
    auto it = sendTo.find(name);
    return it == sendTo.end() ? "" : it->second;
}

bool SimShell::createSendToShortcut(const std::string& name, const std::string& target) {
    if (sendToWritable) sendTo[name] = target;
    return sendToWritable;
}

bool SimShell::deleteSendToShortcut(const std::string& name) {
    if (sendToWritable) sendTo.erase(name);
    return sendToWritable || !sendTo.count(name);
}
