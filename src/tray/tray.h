#pragma once
// The notification-area icon, its balloons and menu, and minimise-to-tray.
#include <cstdint>
#include <string>

#include "resources.h"

struct App;

// The message the shell sends to the main window for the icon's mouse events.
inline constexpr unsigned kTrayCallbackMessage = 123456;

void RegisterTaskbarCreated(App&);
void InstallTrayIcon(App&, ResourceBytes ico, const std::string& tip);
void RemoveTrayIcon(App&);
void SetTrayIcon(App&, ResourceBytes ico);
void SetTrayTip(App&, const std::string& tip);
void ShowTrayBalloon(App&, const std::string& title, const std::string& text, int kind);
void OnTrayEvent(App&, unsigned mouseMessage);
void OnMainWindowSizeChanged(App&);

// The hooked main window gives every message here first; PassOn sends it on to the
// window's previous procedure.
enum class TrayMessage { PassOn, Handled };
TrayMessage TrayWindowMessage(App&, unsigned msg, std::intptr_t lParam);
