#pragma once
// Start-up, the single-instance guard, the close handler and the exit procedure.
#include <cstdint>
#include <string>

struct App;

void InitMainWindow(App&, std::uint32_t mainWindow);
// False when another instance runs: it was activated and this process told to end.
bool EnsureSingleInstance(App&, const std::string& eventName, const std::string& registryName,
                          bool activateExisting, std::uint32_t windowHandle);
std::string GetProgramFolder(const std::string& programPath);
bool QueryCloseMainWindow(App&);
void TeardownMainWindow(App&);
void ExitProgram(App&);
void DeleteInstanceWindowValue(App&, const std::string& registryName);

// Page and window switches bound to buttons and menu items.
void ShowAboutPage(App&);
void ShowCopyPage(App&);
void ShowMainWindowFromTray(App&);
