// Scaffolding: Windows pieces whose subsystems have not landed yet. Each subsystem
// removes its entries as it lands; this file goes away with the last of them.
#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"

std::vector<std::string> WinShell::chooseFiles(const std::string&, const std::string&) { return {}; }
bool WinShell::shellCopyFile(const std::string&, const std::string&) { return false; }
void WinShell::registerDropTarget(Ctl) {}
void WinShell::revokeDropTarget(Ctl) {}
HWND CreateMiniWindow(HWND) { return nullptr; }
void SetMiniWindowPicture(MiniPicture) {}
