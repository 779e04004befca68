// The real controls behind the Ui interface, in a real main window.
#include <gtest/gtest.h>

#include <thread>

#include "app/layout.h"
#include "platform/sim/sim_platform.h"
#include "platform/win32/win_system.h"
#include "platform/win32/win_ui.h"

namespace {

// A real main window whose handlers run against the simulated file system and shell.
struct RealWindow : ::testing::Test {
    SimPlatform sim;
    WinUi ui;
    App app{ui, sim.fs, sim.ini, sim.sys, sim.shell};
    HWND main = nullptr;

    void SetUp() override {
        BindApp(app, ui);
        main = ui.createMainWindow(GetModuleHandleA(nullptr));
        ASSERT_TRUE(main);
    }
    void TearDown() override {
        app.exitRequested = 1;
        DestroyWindow(main);
        MSG m;  // the destroyed window asked to end the loop; this test has none
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

}  // namespace

TEST(WindowValue, HandleSurvivesThe32BitRegistryValue) {
    HWND h = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h);
    EXPECT_EQ(WindowFromValue(ValueFromWindow(h)), h);
    EXPECT_EQ(WindowFromValue(0xFFFF1234u), reinterpret_cast<HWND>(static_cast<LONG_PTR>(-0xEDCC)));
    DestroyWindow(h);
}

TEST_F(RealWindow, StartsWithTheDeclaredGeometryTitleAndStates) {
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 514);
    EXPECT_EQ(r.bottom - r.top, 388);
    EXPECT_EQ(ui.title(Wnd::Main), kProgramTitle);
    GetWindowRect(ui.control(Ctl::按钮_复制), &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, ClientRect(Ctl::按钮_复制).x);
    EXPECT_EQ(r.top, ClientRect(Ctl::按钮_复制).y);
    EXPECT_EQ(ui.text(Ctl::按钮_复制), "复制");
    EXPECT_FALSE(ui.enabled(Ctl::按钮_取消));
    EXPECT_TRUE(ui.enabled(Ctl::按钮_复制));
    EXPECT_FALSE(ui.menuItemEnabled(MenuItem::迷你_取消));
    EXPECT_TRUE(ui.menuItemEnabled(MenuItem::托盘_退出));
    EXPECT_EQ(ui.currentTab(), 0);
    EXPECT_GT(ui.text(Ctl::编辑框1).size(), 1000u);
}

TEST_F(RealWindow, TabPagesShowOnlyTheirOwnControls) {
    ui.selectTab(1);
    EXPECT_EQ(ui.currentTab(), 1);
    EXPECT_TRUE(GetWindowLongA(ui.control(Ctl::超级列表框_扩展名), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(ui.control(Ctl::超级列表框), GWL_STYLE) & WS_VISIBLE);
    ui.selectTab(0);
    EXPECT_FALSE(GetWindowLongA(ui.control(Ctl::超级列表框_扩展名), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(ui.control(Ctl::超级列表框), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(RealWindow, ListViewRowsHoldCellsImagesMarksAndSelection) {
    const Ctl list = Ctl::超级列表框;
    EXPECT_EQ(ui.appendRow(list, "D:\\a.mp3", 2), 0);
    EXPECT_EQ(ui.appendRow(list, "D:\\誠\\歌.wma", 0), 1);
    ui.setCell(list, 0, 1, "1.5");
    ui.setCell(list, 0, 2, "\\music");
    const std::string longPath = "D:\\" + std::string(3000, 'x') + ".avi";
    ui.setCell(list, 1, 0, longPath);
    EXPECT_EQ(ui.rowCount(list), 2);
    EXPECT_EQ(ui.cell(list, 0, 1), "1.5");
    EXPECT_EQ(ui.cell(list, 0, 2), "\\music");
    EXPECT_EQ(ui.cell(list, 1, 0), longPath);
    EXPECT_EQ(ui.rowImage(list, 0), 2);
    ui.setRowImage(list, 1, 7);
    ui.setRowMark(list, 1, 2);
    EXPECT_EQ(ui.rowImage(list, 1), 7);
    EXPECT_EQ(ui.rowMark(list, 1), 2);

    EXPECT_EQ(ui.currentRow(list), -1);
    ui.selectRow(list, 1);
    EXPECT_EQ(ui.currentRow(list), 1);
    ui.selectRow(list, 0);
    EXPECT_EQ(ui.currentRow(list), 0);
    ui.deleteRow(list, 0);
    EXPECT_EQ(ui.rowCount(list), 1);
    EXPECT_EQ(ui.cell(list, 0, 0), longPath);
    ui.deleteAllRows(list);
    EXPECT_EQ(ui.rowCount(list), 0);
    EXPECT_EQ(ui.cell(list, 5, 0), "");
}

// The bars are drawn in their own colour, not the theme's.
TEST_F(RealWindow, FullProgressBarsArePurpleOnScreen) {
    ShowWindow(main, SW_SHOW);
    for (Ctl bar : {Ctl::进度条1, Ctl::进度条2}) {
        ui.setProgressRange(bar, 0, 10);
        ui.setProgressPos(bar, 10);
    }
    UpdateWindow(main);
    for (Ctl bar : {Ctl::进度条1, Ctl::进度条2}) {
        HWND h = ui.control(bar);
        RECT r;
        GetClientRect(h, &r);
        HDC dc = GetDC(h);
        EXPECT_EQ(GetPixel(dc, r.right / 2, r.bottom / 2), kProgressPurple);
        ReleaseDC(h, dc);
    }
}

TEST_F(RealWindow, ChecksComboProgressAndMenus) {
    ui.setChecked(Ctl::选择框_校验, true);
    EXPECT_TRUE(ui.checked(Ctl::选择框_校验));
    ui.setComboIndex(Ctl::组合框_复制方法, 1);
    EXPECT_EQ(ui.comboIndex(Ctl::组合框_复制方法), 1);
    ui.setComboIndex(Ctl::组合框_复制方法, 7);  // an index the list does not hold selects nothing
    EXPECT_EQ(ui.comboIndex(Ctl::组合框_复制方法), -1);
    ui.setProgressRange(Ctl::进度条1, 0, 3);
    ui.setProgressPos(Ctl::进度条1, 2);
    EXPECT_EQ(ui.progressPos(Ctl::进度条1), 2);
    ui.setMenuItemEnabled(MenuItem::迷你_取消, true);
    EXPECT_TRUE(ui.menuItemEnabled(MenuItem::迷你_取消));
    ui.setEnabled(Ctl::目录框, false);
    EXPECT_FALSE(ui.enabled(Ctl::目录框));
}

// More posts than a message queue holds: none is lost, they run in order, and they
// ride on a single queued message.
TEST_F(RealWindow, WorkPostedFromAWorkerRunsWholeAndInOrder) {
    WinSystem sys;
    constexpr int kPosts = 20000;
    std::vector<int> ran;
    std::thread worker([&] {
        for (int i = 0; i < kPosts; ++i) sys.post([&ran, i] { ran.push_back(i); });
    });
    worker.join();
    int messages = 0;
    MSG m;
    while (PeekMessageA(&m, main, WM_RUN_POSTED, WM_RUN_POSTED, PM_REMOVE)) {
        ++messages;
        DispatchMessageA(&m);
    }
    EXPECT_EQ(messages, 1);
    ASSERT_EQ(ran.size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) ASSERT_EQ(ran[i], i);

    sys.post([&ran] { ran.push_back(-1); });  // the queue takes new work after a run
    while (PeekMessageA(&m, main, WM_RUN_POSTED, WM_RUN_POSTED, PM_REMOVE)) DispatchMessageA(&m);
    EXPECT_EQ(ran.back(), -1);
}
