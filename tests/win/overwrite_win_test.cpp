// The overwrite question, asked on a worker thread and answered from outside it the way
// a user would: only by messages to the dialog and its controls.
#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/overwrite_win.h"
#include "platform/win32/wide_text.h"

namespace {

struct Search {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchText(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    std::wstring text(512, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(h, text.data(), 512)));
    if (text == s->text) s->found = h;
    return !s->found;
}

HWND ChildWithText(HWND dialog, const std::wstring& text) {
    Search s{text};
    EnumChildWindows(dialog, MatchText, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForDialog(const std::wstring& title) {
    for (int i = 0; i < 200; ++i, Sleep(50))
        if (HWND h = FindWindowW(L"#32770", title.c_str()); h && IsWindowVisible(h)) return h;
    return nullptr;
}

bool Closes(HWND dialog) {
    for (int i = 0; i < 200; ++i, Sleep(50))
        if (!IsWindow(dialog)) return true;
    return false;
}

TEST(OverwriteQuestion, TaskDialogButtonsBoxEscapeCloseAndTheMessageBoxFallback) {
    const std::string text = "K:\\music\\a.mp3\r\n已存在！ 覆盖吗？取消将会跳过！", title = "文件已存在！";
    const std::string details = "源文件：3.52 MB，2024-05-01 12:00\r\n播放器上：3.10 MB，2023-11-20 08:15";
    ASSERT_TRUE(FindTaskDialog());
    struct Case {
        bool taskDialog, tick;
        const wchar_t* button;  // clicked; else the message is posted to the dialog
        UINT message;
        WPARAM wParam;
        OverwriteAnswer answer;
    } cases[] = {
        {true, true, L"覆盖", 0, 0, {true, true}},
        {true, false, L"跳过", 0, 0, {false, false}},
        {true, false, nullptr, WM_KEYDOWN, VK_ESCAPE, {false, false}},
        {true, false, nullptr, WM_SYSCOMMAND, SC_CLOSE, {false, false}},
        {false, false, nullptr, WM_COMMAND, IDOK, {true, false}},
    };
    for (const auto& c : cases) {
        OverwriteAnswer answer{!c.answer.overwrite, !c.answer.forRest};
        std::thread asker([&] {
            answer = AskOverwrite(c.taskDialog ? FindTaskDialog() : nullptr, nullptr, text, title, details);
        });
        HWND dialog = WaitForDialog(Wide(title));
        EXPECT_TRUE(dialog) << c.message;
        if (dialog && c.taskDialog) {
            EXPECT_TRUE(ChildWithText(dialog, Wide(text)));
            EXPECT_TRUE(ChildWithText(dialog, Wide(details)));
        }
        if (c.tick) PostMessageW(ChildWithText(dialog, L"对其余已存在的文件也这样做"), BM_CLICK, 0, 0);
        if (c.button) PostMessageW(ChildWithText(dialog, c.button), BM_CLICK, 0, 0);
        else PostMessageW(dialog, c.message, c.wParam, 0);
        EXPECT_TRUE(Closes(dialog)) << c.message;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // never leave the worker blocked
        PostMessageW(dialog, TDM_CLICK_BUTTON, IDCANCEL, 0);
        asker.join();
        EXPECT_EQ(answer.overwrite, c.answer.overwrite) << c.message;
        EXPECT_EQ(answer.forRest, c.answer.forRest) << c.message;
    }
}

}  // namespace
