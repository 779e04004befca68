#pragma once
#include <windows.h>

#include "app/app.h"

// The main window's WM_DEVICECHANGE.
void OnDeviceChange(App&, WPARAM event, LPARAM data);
