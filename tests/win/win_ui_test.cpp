// The real controls behind the Ui interface, in a real main window.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "platform/layout.h"
#include "platform/win32/win_system.h"
#include "real_window.h"

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
    // Rows that stay where they are keep their text when others leave.
    ui.appendRow(list, "D:\\b.mp3", 1);
    ui.appendRow(list, "D:\\c.mp3", 1);
    ui.deleteRows(list, {false, true, false});
    EXPECT_EQ(ui.rowCount(list), 2);
    EXPECT_EQ(ui.cell(list, 0, 0), longPath);
    EXPECT_EQ(ui.cell(list, 1, 0), "D:\\c.mp3");
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

// Work that pumps messages (a folder intake does) lets later work run, but never ahead
// of earlier work still waiting.
TEST_F(RealWindow, WorkThatPumpsKeepsTheOrderOfPosts) {
    WinSystem sys;
    std::vector<int> ran;
    sys.post([&] {
        ran.push_back(0);
        sys.post([&ran] { ran.push_back(2); });
        ui.pumpEvents();
    });
    sys.post([&ran] { ran.push_back(1); });
    ui.pumpEvents();
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
}

namespace {

// Which pixels of a label-sized picture are text: dark on a light background.
std::vector<bool> InkOf(HWND label, const std::function<void(HDC, RECT)>& paint) {
    RECT r;
    GetClientRect(label, &r);
    HDC screen = GetDC(label);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint(dc, r);
    std::vector<bool> ink;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            ink.push_back(GetRValue(c) + GetGValue(c) + GetBValue(c) < 384);
        }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(label, screen);
    return ink;
}

int Differences(const std::vector<bool>& a, const std::vector<bool>& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

// The status line paints a long path shortened in its middle, as DrawText does it, so
// the file name stays in view; the text it holds stays whole.
TEST_F(RealWindow, StatusLineShortensALongPathInItsMiddle) {
    std::string text = "正在复制 C:\\";
    for (int i = 0; i < 12; ++i) text += "很长的文件夹名字\\";
    text += "big3.mp3 请稍候...      ";
    ui.setText(Ctl::标签3, text);
    EXPECT_EQ(ui.text(Ctl::标签3), text);
    HWND label = ui.control(Ctl::标签3);
    const auto painted = InkOf(label, [&](HDC dc, RECT) {
        SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    const auto drawn = [&](UINT flags) {
        return InkOf(label, [&](HDC dc, RECT r) {
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            SetBkMode(dc, TRANSPARENT);
            DrawTextW(dc, wide.c_str(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | flags);
        });
    };
    const auto shortened = drawn(DT_SINGLELINE | DT_PATH_ELLIPSIS), cut = drawn(0);
    // Smoothed glyph edges may differ a little between the two ways of painting.
    EXPECT_LT(Differences(painted, shortened) * 10, Differences(painted, cut))
        << Differences(painted, shortened) << " " << Differences(painted, cut);
}

}  // namespace

// 启用该规则 lies above the hint label that overlaps it, so it is drawn and clicked.
TEST_F(RealWindow, TheRuleBoxIsAboveTheHintLabel) {
    ui.selectTab(1);
    const Rect r = ClientRect(Ctl::选择框_规则);
    EXPECT_EQ(ChildWindowFromPointEx(main, {r.x + r.w / 2, r.y + r.h / 2}, CWP_SKIPINVISIBLE),
              ui.control(Ctl::选择框_规则));
}

// The keyboard: Ctrl+Tab and Ctrl+PgUp turn pages, Enter applies a rule, a rule box takes
// back a change past mp4.ini's limit in GBK bytes, Delete removes a row.
TEST_F(RealWindow, KeyboardTurnsPagesAppliesRulesAndRemovesRows) {
    ShowWindow(main, SW_SHOW);
    SetForegroundWindow(main);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG m{ui.control(Ctl::超级列表框), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(TurnsPage(main, m));
    EXPECT_EQ(ui.currentTab(), 1);
    m.wParam = VK_PRIOR;
    EXPECT_TRUE(TurnsPage(main, m));
    EXPECT_EQ(ui.currentTab(), 0);
    EXPECT_EQ(GetFocus(), ui.control(Ctl::选择夹1));

    ui.selectTab(1);
    ui.appendRow(Ctl::超级列表框_扩展名, "*.txt", 3);
    ui.selectRow(Ctl::超级列表框_扩展名, 0);
    ui.setTextLimit(Ctl::编辑框_扩展名, 254);
    ui.setFocus(Ctl::编辑框_扩展名);
    EXPECT_EQ(SendMessageW(main, DM_GETDEFID, 0, 0),
              MAKELRESULT(kFirstControlId + static_cast<int>(Ctl::按钮_应用), DC_HASDEFID));
    const HWND edit = ui.control(Ctl::编辑框_扩展名);
    SetWindowTextW(edit, L"*.mp3");
    SendMessageW(edit, EM_SETSEL, 5, 5);
    std::wstring yun(200, L'\x904B');  // 400 GBK bytes
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(yun.c_str()));
    EXPECT_EQ(ui.text(Ctl::编辑框_扩展名), "*.mp3");

    ui.selectTab(0);
    ui.appendRow(Ctl::超级列表框, "D:\\a.mp3", 2);
    ui.appendRow(Ctl::超级列表框, "D:\\b.mp3", 2);
    ui.selectRow(Ctl::超级列表框, 0);
    SendMessageW(ui.control(Ctl::超级列表框), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(ui.rowCount(Ctl::超级列表框), 1);
    EXPECT_EQ(ui.cell(Ctl::超级列表框, 0, 0), "D:\\b.mp3");
    ui.setFocus(Ctl::按钮_复制);
    ui.setEnabled(Ctl::按钮_复制, false);  // as a job starts
    EXPECT_EQ(ui.focusedControl(), Ctl::Count);
}
