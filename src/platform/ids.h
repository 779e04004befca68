#pragma once
// Names of every control, window and menu item. The layout tables, the handlers,
// the platform and the tests all address the user interface through these.

// Controls of the main window and the mini window. On Windows a control's id is
// kFirstControlId + its value, so an outside driver can find it by name too.
enum class Ctl : int {
    // main window, top level
    选择夹1,
    // page 0 "文件复制"
    分组框1, 超级列表框, 按钮_添加文件, 按钮_向上, 按钮_向下, 按钮_删除, 按钮_全部删除,
    按钮_刷新2, 按钮_复制, 按钮_取消, 按钮_退出, 标签_显示大小, 标签1, 目录框, 按钮_浏览,
    选择框_成功后删除源文件, 分组框2, 标签2, 进度条1, 标签3, 进度条2,
    // page 1 "软件设置"
    分组框3, 标签6, 选择框_规则, 超级列表框_扩展名, 标签4, 编辑框_扩展名, 标签5,
    编辑框_目标路径, 按钮_应用, 按钮_刷新, 按钮_默认, 分组框4, 选择框_校验, 选择框_迷你,
    组合框_复制方法, 按钮_保存设置, 选择框_发送到,
    // page 2 "关于"
    编辑框1, 按钮_返回,
    // mini window
    图片框1,
    Count
};
constexpr int kFirstControlId = 1000;
constexpr int kControlCount = static_cast<int>(Ctl::Count);

// The copy-progress window has its own 标签1, 标签2 and 进度条1.
enum class ProgressCtl : int { 标签1, 标签2, 进度条1, Count };
constexpr int kFirstProgressControlId = 1900;

enum class Wnd : int { Main, Mini, Progress };

// Menu items are known by their captions; the prefix names the menu.
enum class MenuItem : int {
    托盘_显示窗口, 托盘_关于, 托盘_退出,
    迷你_添加文件, 迷你_设置目标目录, 迷你_复制文件, 迷你_取消, 迷你_显示主窗口, 迷你_关于, 迷你_退出,
    Count
};
constexpr int kFirstMenuId = 2000;

// Window classes, for the program itself and for drivers that look for its windows.
constexpr const char* kMainWindowClass = "RuzoriZE3Main";
constexpr const char* kMiniWindowClass = "RuzoriZE3Mini";
constexpr const char* kProgressWindowClass = "RuzoriZE3Progress";
