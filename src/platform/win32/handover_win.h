#pragma once
// Paths from the command line, and their hand-over by WM_COPYDATA to the running instance.
#include <windows.h>

struct App;

// The main window's WM_COPYDATA: TRUE when a well-formed hand-over was taken.
LRESULT OnHandOverReceived(App&, const COPYDATASTRUCT* block);
