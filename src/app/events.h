#pragma once
// Which operation handles each control and menu event.
#include "platform/ids.h"

struct App;
using Handler = void (*)(App&);

Handler ClickHandler(Ctl);          // nullptr: the control has no click handler
Handler MenuHandler(MenuItem);
