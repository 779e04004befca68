#pragma once
// Which operation handles each control and menu event.
#include "platform/ids.h"

struct App;

// Runs the handler of a click or a menu item, if it has one and is enabled.
void RunClick(App&, Ctl);
void RunMenu(App&, MenuItem);
