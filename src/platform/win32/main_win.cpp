// The program's entry point.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/app.h"
#include "app/events.h"
#include "platform/ini_profile.h"
#include "platform/win32/files_win.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_system.h"
#include "platform/win32/win_ui.h"

namespace {

int RunMessageLoop(HWND main) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TurnsPage(main, msg) || IsDialogMessageW(main, &msg)) continue;  // Tab moves between controls
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}


}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);  // drop targets need OLE on the main thread
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    static WinUi ui;
    static WinFileSystem fs;
    static IniProfile ini{fs};
    static WinSystem sys;
    static WinShell shell;
    static App app(ui, fs, ini, sys, shell);
    BindApp(app, ui);
    shell.app = &app;

    RunEvent(app, Event::Starting);
    HWND main = ui.createMainWindow(instance);
    if (!main) return 1;
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    const int code = RunMessageLoop(main);
    if (IsWindow(main)) DestroyWindow(main);
    OleUninitialize();
    return code;
}
