#pragma once
// Which operation handles each control and menu event.
#include "platform/ids.h"

struct App;

// Runs the handler of a click or a menu item, if it has one and is enabled.
void RunClick(App&, Ctl);
void RunMenu(App&, MenuItem);
// The button Enter presses while a control that is no button has the focus, or Ctl::Count.
Ctl EnterButton(Ctl focused);
// The next (step 1) or previous (step -1) tab page, from the keyboard; the tab strip takes
// the focus, so the arrow keys go on turning pages.
void TurnPage(App&, int step);
