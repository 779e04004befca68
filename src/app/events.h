#pragma once
// Which operation handles each control and menu event, and every other event the windows
// report: the platform names what happened, the program decides what it means.
#include <cstdint>
#include <string>

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

// The windows' other events, each bound to its handler in a table beside the menus'.
enum class Event {
    Starting,           // before the main window is made
    MainResized,
    RuleSelected,       // the selection of the rule list changed
    MiniCreated,
    MiniClosing,
    MiniDoubleClicked,
    MiniRightClicked,
    DrivesChanged,      // a volume came or went
    MainDestroyed,
    Count
};
void RunEvent(App&, Event);
// The main window is made: its handle, for a second start to find.
void OnMainCreated(App&, std::uint32_t window);
// The main window is asked to close; false keeps it.
bool OnMainClosing(App&);
// Dropped paths, joined by "\r\n".
void OnFilesDropped(App&, const std::string& text);
// Paths from the command line or a second start, added as a drop once the window
// event in hand has been handled, so the sender is not kept waiting.
void OnPathsHandedOver(App&, const std::string& text);
// The tip over a row of the copy list: why its file did not arrive, or "".
std::string RowTip(App&, int row);
// The hooked main window gives every message here first; false sends it on.
bool TrayTakesMessage(App&, unsigned msg, std::intptr_t lParam);
