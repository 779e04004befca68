// The overwrite question on a worker thread, answered from outside by messages as a user would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/win32/overwrite_win.h"
#include "platform/win32/wide_text.h"

namespace {

template <class Done>
bool Within10s(Done done) {
    for (int i = 0; i < 200; ++i, Sleep(50))
        if (done()) return true;
    return false;
}

HWND Child(HWND dialog, const std::string& text) { return FindWindowExW(dialog, nullptr, nullptr, Wide(text).c_str()); }

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
POINT Centre(HWND window) { RECT r{}; GetWindowRect(window, &r); return Centre(r); }

// Answered each way; each time in the middle of the main window, or of the screen while
// that window is hidden (in the tray).
TEST(OverwriteQuestion, TaskDialogButtonsBoxEscapeCloseAndTheMessageBoxFallback) {
    const std::string text = "K:\\music\\a.mp3\r\n已存在！ 覆盖吗？", title = "文件已存在！";
    const std::string details = "源文件：3.52 MB，2024-05-01 12:00\r\n播放器上：3.10 MB，2023-11-20 08:15";
    // The button clicked, else the message posted to the dialog; the last asks by message box.
    struct Case { bool taskDialog, tick; const char* button; UINT message; WPARAM wParam; bool overwrite, shown; } cases[] = {
        {true, true, "覆盖", 0, 0, true, true}, {true, false, "跳过", 0, 0, false, true},
        {true, false, nullptr, WM_KEYDOWN, VK_ESCAPE, false, false},
        {true, false, nullptr, WM_SYSCOMMAND, SC_CLOSE, false, true}, {false, false, nullptr, WM_COMMAND, IDOK, true, true}};
    const HWND main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 60, 90, 500, 300, nullptr, nullptr,
                                      nullptr, nullptr);
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    for (const auto& c : cases) {
        ShowWindow(main, c.shown ? SW_SHOWNOACTIVATE : SW_HIDE);
        OverwriteAnswer answer{!c.overwrite, !c.tick};
        const TaskDialogFunction taskDialog = c.taskDialog ? FindTaskDialog() : nullptr;
        std::thread asker([&] { answer = AskOverwrite(taskDialog, nullptr, main, text, title, details); });
        HWND dialog = nullptr;  // shown once its controls are there
        EXPECT_TRUE(Within10s([&] { return IsWindowVisible(dialog = FindWindowW(L"#32770", Wide(title).c_str())); }));
        EXPECT_TRUE(!c.taskDialog || (Child(dialog, text) && Child(dialog, details)));
        const POINT at = Centre(dialog), want = c.shown ? Centre(main) : Centre(screen);
        EXPECT_LE(std::abs(at.x - want.x) + std::abs(at.y - want.y), 2) << at.x << "," << at.y << " " << c.shown;
        if (c.tick) PostMessageW(Child(dialog, "对其余已存在的文件也这样做"), BM_CLICK, 0, 0);
        if (c.button) PostMessageW(Child(dialog, c.button), BM_CLICK, 0, 0);
        else PostMessageW(dialog, c.message, c.wParam, 0);
        EXPECT_TRUE(Within10s([&] { return !IsWindow(dialog); })) << c.message;
        PostMessageW(dialog, WM_CLOSE, 0, 0);  // never leave the worker blocked
        asker.join();
        EXPECT_EQ(std::pair(answer.overwrite, answer.forRest), std::pair(c.overwrite, c.tick)) << c.message;
    }
    DestroyWindow(main);
}

}  // namespace
