#pragma once
// The notification-area icon, its balloons and menu, and minimise-to-tray.
#include <string>

#include "resources.h"

struct App;

void RegisterTaskbarCreated(App&);
void InstallTrayIcon(App&, ResourceBytes ico, const std::string& tip);
void RemoveTrayIcon(App&);
void SetTrayIcon(App&, ResourceBytes ico);
void ShowTrayBalloon(App&, const std::string& title, const std::string& text, int kind);
void OnTrayEvent(App&, unsigned mouseMessage);
void OnMainWindowSizeChanged(App&);
