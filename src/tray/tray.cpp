#include "tray/tray.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "app/app.h"
#include "platform/shell.h"
#include "tray/ico.h"

// The one tray record. The main thread and the copy worker both change it, so each
// change and the shell call that sends it happen under the lock, as one step.
struct TrayState {
    std::mutex lock;
    TrayRecord record;
    std::uint32_t taskbarCreatedMessage = 0;
    std::uintptr_t window = 0;
    bool hooked = false;
    // Each picture becomes an icon once: every copy job switches between two of them.
    std::map<std::pair<const unsigned char*, std::size_t>, IconHandle> icons;
};

namespace {

constexpr std::uint32_t kIconMessageTip = 0x7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
constexpr std::uint32_t kBalloon = 0x10;        // NIF_INFO
constexpr std::uint32_t kTip = 0x4;             // NIF_TIP
constexpr unsigned kDestroy = 0x2, kLButtonDown = 0x201, kLButtonDblClk = 0x203, kRButtonDown = 0x204;

TrayState& Tray(App& app) {
    if (!app.tray) app.tray = std::make_shared<TrayState>();
    return *app.tray;
}

template <class Fill>
void Notify(App& app, TrayOp op, Fill fill) {
    TrayState& tray = Tray(app);
    std::lock_guard guard(tray.lock);
    fill(tray.record);
    app.shell.notifyIcon(op, tray.record);
}

IconHandle CachedIcon(App& app, ResourceBytes ico) {
    TrayState& tray = Tray(app);
    std::lock_guard guard(tray.lock);
    auto [it, added] = tray.icons.try_emplace({ico.data(), ico.size()}, 0);
    if (added) it->second = IconFromIcoBytes(app.shell, ico, IcoImageFor(ico, app.shell.smallIconSize()));
    return it->second;
}

}  // namespace

void RegisterTaskbarCreated(App& app) {
    Tray(app).taskbarCreatedMessage = app.shell.registerWindowMessage("TaskbarCreated");
}

void InstallTrayIcon(App& app, ResourceBytes ico, const std::string& tip) {
    TrayState& tray = Tray(app);
    // Hooking twice would make the saved procedure our own and loop forever.
    if (!tray.hooked) tray.window = app.shell.hookMainWindow();
    tray.hooked = true;
    const IconHandle icon = ico.empty() ? app.shell.mainWindowSmallIcon() : CachedIcon(app, ico);
    Notify(app, TrayOp::Add, [&](TrayRecord& r) {
        r.hWnd = tray.window;
        r.uID = 1;
        r.uFlags = kIconMessageTip;
        r.uCallbackMessage = kTrayCallbackMessage;
        r.hIcon = icon;
        r.szTip = tip;
    });
}

void RemoveTrayIcon(App& app) {
    TrayState& tray = Tray(app);
    if (tray.hooked) app.shell.unhookMainWindow();
    tray.hooked = false;
    Notify(app, TrayOp::Delete, [](TrayRecord&) {});
}

void SetTrayIcon(App& app, ResourceBytes ico) {
    const IconHandle icon = CachedIcon(app, ico);
    if (icon == 0) return;
    Notify(app, TrayOp::Modify, [&](TrayRecord& r) {
        r.uFlags = kIconMessageTip;
        r.hIcon = icon;
    });
}

void SetTrayTip(App& app, const std::string& tip) {
    Notify(app, TrayOp::Modify, [&](TrayRecord& r) {
        r.uFlags = kTip;
        r.szTip = tip;
    });
}

void ShowTrayBalloon(App& app, const std::string& title, const std::string& text, int kind) {
    Notify(app, TrayOp::Modify, [&](TrayRecord& r) {
        r.uFlags = kBalloon;
        r.szInfoTitle = title;
        r.szInfo = text;
        r.dwInfoFlags = static_cast<std::uint32_t>(kind);
    });
}

TrayMessage TrayWindowMessage(App& app, unsigned msg, std::intptr_t lParam) {
    if (msg == kDestroy) {
        RemoveTrayIcon(app);
        return TrayMessage::PassOn;
    }
    if (msg == kTrayCallbackMessage) {
        OnTrayEvent(app, static_cast<unsigned>(lParam));
        return TrayMessage::Handled;
    }
    const std::uint32_t restarted = Tray(app).taskbarCreatedMessage;
    if (restarted != 0 && msg == restarted) {
        // After a balloon the flags say "balloon only"; the re-added icon needs all three.
        Notify(app, TrayOp::Add, [](TrayRecord& r) { r.uFlags = kIconMessageTip; });
    }
    return TrayMessage::PassOn;
}

void OnTrayEvent(App& app, unsigned mouseMessage) {
    if (mouseMessage == kLButtonDown || mouseMessage == kLButtonDblClk) {
        app.ui.showWindow(Wnd::Main, true);
        app.ui.restoreWindow(Wnd::Main);
    } else if (mouseMessage == kRButtonDown) {
        app.ui.popUpMenu(Wnd::Main);
    }
    app.ui.bringToFront(Wnd::Main);
}

void OnMainWindowSizeChanged(App& app) {
    if (!app.ui.windowMinimized(Wnd::Main)) return;
    if (app.copyBusy == 0) ShowTrayBalloon(app, kProgramTitle, "窗口已最小化！双击或单击左键显示！", 1);
    app.ui.showWindow(Wnd::Main, false);
    app.ui.showWindow(Wnd::Mini, true);
}
