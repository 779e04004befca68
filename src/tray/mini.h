#pragma once
// The floating 48 x 48 drop window.
struct App;

void InitMiniWindow(App&);
void QueryCloseMiniWindow(App&);
void ShowMainWindowFromMini(App&);
void PopUpMiniMenu(App&);
