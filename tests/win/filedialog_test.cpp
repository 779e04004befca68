// The real open-file dialog, answered from a second thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/win32/filedialog_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_ui.h"

namespace {

constexpr const char* kTitle = "选择需要复制的文件(可多选)";
constexpr int kNameBox = 0x47c, kNameEdit = 0x480, kTypeCombo = 0x470;

HWND WaitForDialog() {
    for (int i = 0; i < 200; ++i) {
        if (HWND dlg = FindWindowA("#32770", kTitle)) return dlg;
        Sleep(50);
    }
    return nullptr;
}

void Type(HWND dlg, const std::string& text) {
    HWND box = GetDlgItem(dlg, kNameBox);
    SetWindowTextA(box ? box : GetDlgItem(dlg, kNameEdit), text.c_str());
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

// What the user saw: how many dialogs, and the file-type entries of the last one.
struct Seen {
    int dialogs = 0;
    std::vector<std::string> types;
};

// Plays the user: for each answer, waits for the dialog, opens the folder, then types the
// names (or presses Cancel when they are empty).
class User {
public:
    User(std::string folder, std::vector<std::string> answers, Seen* seen = nullptr)
        : seen_(seen), thread_([this, folder, answers] {
              for (const auto& names : answers) {
                  HWND dlg = WaitForDialog();
                  if (!dlg) return;
                  ReadTypes(GetDlgItem(dlg, kTypeCombo));
                  if (names.empty()) {
                      PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                  } else {
                      Type(dlg, folder);
                      Sleep(300);
                      Type(dlg, names);
                  }
                  while (IsWindow(dlg)) Sleep(20);
              }
          }) {}
    ~User() { thread_.join(); }

private:
    void ReadTypes(HWND combo) {
        if (!seen_) return;
        ++seen_->dialogs;
        seen_->types.clear();
        const int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[256] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            seen_->types.push_back(Narrow(text));
        }
    }
    Seen* seen_;
    std::thread thread_;
};

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindApp(sim.app, ui);  // no main window: the dialog has no owner
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "ruzdlg歌" + std::to_string(GetCurrentProcessId());  // a GBK folder name
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const auto& name : made) DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void Make(const std::string& name) {
        HANDLE h = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
        CloseHandle(h);
        made.push_back(name);
    }

    SimPlatform sim;
    WinUi ui;
    std::string folder;
    std::vector<std::string> made;
};

}  // namespace

// Wine's wide dialog copies a multiple choice into the buffer without checking its size,
// so the growth of a buffer too small is left to Windows.
TEST_F(FileDialogTest, ManyFilesComeBackAsFullPaths) {
    std::string typed;
    std::vector<std::string> expected;
    for (int i = 1; i <= 8; ++i) {
        const std::string name = "track " + std::to_string(i) + " with a name long enough to need room 歌.mp3";
        Make(name);
        typed += "\"" + name + "\" ";
        expected.push_back(folder + "\\" + name);
    }
    std::vector<std::string> chosen;
    Seen seen;
    {
        User user(folder, {typed}, &seen);
        chosen = ChooseFilesWithBuffer(kTitle, "Ruzorize3支持的文件|*.mp3;*.箌|所有文件|*.*", 1 << 16);
    }
    EXPECT_EQ(seen.dialogs, 1);
    EXPECT_EQ(seen.types, (std::vector<std::string>{"Ruzorize3支持的文件", "所有文件"}));
    std::sort(chosen.begin(), chosen.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(chosen, expected);
}

TEST_F(FileDialogTest, OneFileComesBackAsItsPath) {
    Make("one.txt");
    User user(folder, {"one.txt"});
    EXPECT_EQ(ChooseFilesWithBuffer(kTitle, "所有文件|*.*", 1 << 16),
              (std::vector<std::string>{folder + "\\one.txt"}));
}

TEST_F(FileDialogTest, CancelGivesNothing) {
    User user(folder, {""});
    EXPECT_TRUE(ChooseFilesWithBuffer(kTitle, "所有文件|*.*", 1 << 16).empty());
}
