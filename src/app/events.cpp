#include "app/events.h"

#include <iterator>

#include "app/app.h"
#include "app/startup.h"
#include "copyengine/copyjob.h"
#include "copylist/copylist.h"
#include "copylist/sizedisplay.h"
#include "platform/layout.h"
#include "settings/folder.h"
#include "settings/playerdrive.h"
#include "settings/options.h"
#include "settings/rules.h"
#include "settings/sendto.h"
#include "tray/mini.h"
#include "tray/tray.h"

namespace {

using Handler = void (*)(App&);

struct ClickBinding {
    Ctl ctl;
    Handler handler;
};

void RefreshSizes(App& app) { RefreshSizeDisplay(app); }

constexpr ClickBinding kClicks[] = {
    {Ctl::按钮_添加文件, AddFilesByDialog},
    {Ctl::按钮_向上, MoveEntryUp},
    {Ctl::按钮_向下, MoveEntryDown},
    {Ctl::按钮_删除, RemoveCurrentEntry},
    {Ctl::按钮_全部删除, RemoveAllEntries},
    {Ctl::按钮_刷新2, RefreshSizes},
    {Ctl::按钮_复制, StartCopyJob},
    {Ctl::按钮_取消, CancelCopyJob},
    {Ctl::按钮_退出, ExitProgram},
    {Ctl::按钮_浏览, ChooseTargetFolder},
    {Ctl::按钮_应用, ApplyRuleEdit},
    {Ctl::按钮_刷新, LoadRulesIntoList},
    {Ctl::按钮_默认, RestoreDefaultRules},
    {Ctl::按钮_保存设置, SaveOptionsAndConfirm},
    {Ctl::选择框_迷你, ApplyMiniWindowOption},
    {Ctl::选择框_发送到, ApplySendToOption},
    {Ctl::按钮_返回, ShowCopyPage},
};

constexpr Handler kMenus[] = {
    ShowMainWindowFromTray,       // 托盘_显示窗口
    ShowAboutPage,                // 托盘_关于
    ExitProgram,                  // 托盘_退出
    AddFilesByDialog,             // 迷你_添加文件
    ChooseTargetFolderAndNotify,  // 迷你_设置目标目录
    StartCopyJob,                 // 迷你_复制文件
    CancelCopyJob,                // 迷你_取消
    ShowMainWindowFromMini,       // 迷你_显示主窗口
    ShowAboutPage,                // 迷你_关于
    ExitProgram,                  // 迷你_退出
};
static_assert(std::size(kMenus) == static_cast<std::size_t>(MenuItem::Count));

constexpr Handler kEvents[] = {
    RegisterTaskbarCreated,   // Starting
    OnMainWindowSizeChanged,  // MainResized
    ShowSelectedRule,         // RuleSelected
    InitMiniWindow,           // MiniCreated
    QueryCloseMiniWindow,     // MiniClosing
    ShowMainWindowFromMini,   // MiniDoubleClicked
    PopUpMiniMenu,            // MiniRightClicked
    OnDrivesChanged,          // DrivesChanged
    TeardownMainWindow,       // MainDestroyed
};
static_assert(std::size(kEvents) == static_cast<std::size_t>(Event::Count));

}  // namespace

// A disabled control or menu item does nothing, even when automation sends its command:
// the busy state's locks hold whoever clicks.
void RunClick(App& app, Ctl ctl) {
    if (!app.ui.enabled(ctl)) return;
    for (const auto& b : kClicks)
        if (b.ctl == ctl) b.handler(app);
}

// A focused button is pressed itself; a rule edit box applies the rule.
Ctl EnterButton(Ctl focused) {
    if (focused == Ctl::编辑框_扩展名 || focused == Ctl::编辑框_目标路径) return Ctl::按钮_应用;
    return focused != Ctl::Count && FindControl(focused).kind == Kind::Button ? focused : Ctl::Count;
}

void TurnPage(App& app, int step) {
    const int pages = static_cast<int>(TabPages().size());
    app.ui.selectTab((app.ui.currentTab() + step + pages) % pages);
    app.ui.setFocus(Ctl::选择夹1);
}

void RunMenu(App& app, MenuItem item) {
    const auto i = static_cast<std::size_t>(item);
    if (i < std::size(kMenus) && app.ui.menuItemEnabled(item)) kMenus[i](app);
}

void RunEvent(App& app, Event e) { kEvents[static_cast<std::size_t>(e)](app); }

void OnMainCreated(App& app, std::uint32_t window) { InitMainWindow(app, window); }

bool OnMainClosing(App& app) { return QueryCloseMainWindow(app); }

void OnFilesDropped(App& app, const std::string& text) { AddPaths(app, text); }

void OnPathsHandedOver(App& app, const std::string& text) { AddPathsLater(app, text); }

std::string RowTip(App& app, int row) { return FailedRowReason(app, row); }

bool TrayTakesMessage(App& app, unsigned msg, std::intptr_t lParam) {
    return TrayWindowMessage(app, msg, lParam) == TrayMessage::Handled;
}
