#include "app/startup.h"

#include "app/app.h"
#include "app/handover.h"
#include "copyengine/copyjob.h"
#include "copylist/copylist.h"
#include "platform/layout.h"
#include "settings/options.h"
#include "settings/sendto.h"
#include "tray/tray.h"

namespace {

std::string FileNamePart(const std::string& path) {
    // The program path comes from the system in the ANSI code page; step over
    // double-byte characters so a trail byte equal to "\" is not taken as a separator.
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == '/') {
            start = i + 1;
        }
    }
    return path.substr(start);
}

// A start with paths gives them to the running instance and leaves its window as it is.
void GiveWayToRunningInstance(App& app, const std::string& registryName) {
    if (app.sys.commandLinePaths().empty()) app.sys.activateWindow(app.sys.readInstanceWindow(registryName));
    else HandOverToRunningInstance(app, registryName);
}

void RevokeListDropTarget(App& app) { app.shell.revokeDropTarget(Ctl::超级列表框); }

}  // namespace

std::string GetProgramFolder(const std::string& programPath) {
    std::string folder = programPath.substr(0, programPath.size() - FileNamePart(programPath).size());
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

bool EnsureSingleInstance(App& app, const std::string& eventName, const std::string& registryName,
                          bool activateExisting, std::uint32_t windowHandle) {
    if (!app.sys.createInstanceEvent(eventName)) {
        if (activateExisting) GiveWayToRunningInstance(app, registryName);
        app.sys.exitProcess(0);
        return false;
    }
    if (activateExisting) app.sys.writeInstanceWindow(registryName, windowHandle);
    return true;
}

void InitMainWindow(App& app, std::uint32_t mainWindow) {
    app.instanceName = FileNamePart(app.sys.programPath());
    if (!EnsureSingleInstance(app, app.instanceName, app.instanceName, true, mainWindow)) return;
    app.settingsPath = GetProgramFolder(app.sys.programPath()) + "mp4.ini";
    app.ui.loadWindow(Wnd::Mini);
    app.ui.showWindow(Wnd::Mini, false);
    app.shell.registerDropTarget(Ctl::超级列表框);
    InstallTrayIcon(app, IdleTrayIcon, kProgramTitle);
    app.ui.setTitle(Wnd::Main, kProgramTitle);
    LoadOptions(app);
    ShowSendToEntry(app);
    app.ui.setProgressColor(Ctl::进度条1, kProgressPurple);
    app.ui.setProgressColor(Ctl::进度条2, kProgressPurple);
    app.exitRequested = 0;
    const std::string paths = app.sys.commandLinePaths();
    if (!paths.empty()) AddPathsLater(app, paths);
}

bool QueryCloseMainWindow(App& app) {
    if (app.copyBusy != 0) {
        app.ui.showWindow(Wnd::Main, false);
        app.ui.selectTab(0);
        return false;
    }
    if (app.exitRequested == 0) {
        app.ui.messageBox("请点击'退出'按钮退出程序！", kProgramTitle, mb::Ok | mb::IconInfo);
        app.ui.selectTab(0);
        return false;
    }
    return true;
}

void DeleteInstanceWindowValue(App& app, const std::string& registryName) {
    app.sys.deleteInstanceWindow(registryName);
}

void ExitProgram(App& app) {
    if (DeferExitForCopyJob(app)) return;
    app.exitRequested = 1;
    RemoveTrayIcon(app);
    DeleteInstanceWindowValue(app, app.instanceName);
    SaveOptions(app);
    RevokeListDropTarget(app);
    if (app.ui.windowCreated(Wnd::Mini)) {
        app.shell.revokeDropTarget(Ctl::图片框1);  // a window must not die registered
        app.ui.destroyWindow(Wnd::Mini);
    }
    app.sys.quit(0);
}

void TeardownMainWindow(App& app) {
    RemoveTrayIcon(app);
    DeleteInstanceWindowValue(app, app.instanceName);
    RevokeListDropTarget(app);
}

void ShowAboutPage(App& app) {
    if (!app.ui.windowVisible(Wnd::Main)) app.ui.showWindow(Wnd::Main, true);
    if (app.ui.windowMinimized(Wnd::Main)) app.ui.restoreWindow(Wnd::Main);
    app.ui.selectTab(2);
}

void ShowCopyPage(App& app) { app.ui.selectTab(0); }

void ShowMainWindowFromTray(App& app) {
    if (!app.ui.windowCreated(Wnd::Main)) return;
    if (!app.ui.windowVisible(Wnd::Main)) {
        app.ui.showWindow(Wnd::Main, true);
        app.ui.restoreWindow(Wnd::Main);
    }
    app.ui.bringToFront(Wnd::Main);
}
