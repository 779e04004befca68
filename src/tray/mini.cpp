#include "tray/mini.h"

#include "app/app.h"
#include "platform/shell.h"

// The window itself places its picture box and itself when it is created.
void InitMiniWindow(App& app) {
    app.shell.registerDropTarget(Ctl::图片框1);
    app.ui.setMiniPicture(MiniPicture::Idle);
}

void QueryCloseMiniWindow(App& app) { app.shell.revokeDropTarget(Ctl::图片框1); }

void ShowMainWindowFromMini(App& app) {
    if (app.ui.windowVisible(Wnd::Main)) return;
    app.ui.showWindow(Wnd::Main, true);
    app.ui.restoreWindow(Wnd::Main);
}

void PopUpMiniMenu(App& app) { app.ui.popUpMenu(Wnd::Mini); }
