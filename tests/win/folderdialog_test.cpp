// The real folder browser, answered from a second thread as a user would.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <string>
#include <thread>

#include "platform/sim/sim_platform.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_ui.h"
#include "settings/folder.h"
#include "text/gbk.h"

namespace {

constexpr const char* kTitle = "请选择RuzoriZE3磁盘根目录";

struct Found {
    bool titleShown = false;
    bool editBox = false;
};

BOOL CALLBACK Inspect(HWND child, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    char cls[32] = {}, text[128] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    found->titleShown |= std::string(text) == kTitle;
    found->editBox |= lstrcmpiA(cls, "Edit") == 0;
    return TRUE;
}

HWND WaitForDialog() {
    for (int i = 0; i < 200; ++i) {
        if (HWND dlg = FindWindowA("#32770", nullptr)) return dlg;
        Sleep(50);
    }
    return nullptr;
}

// Waits for the browser, notes what it shows, then presses the button.
class User {
public:
    explicit User(int button)
        : thread_([this, button] {
              HWND dlg = WaitForDialog();
              if (!dlg) return;
              Sleep(300);
              EnumChildWindows(dlg, Inspect, reinterpret_cast<LPARAM>(&found));
              PostMessageA(dlg, WM_COMMAND, button, 0);
          }) {}
    ~User() {
        if (thread_.joinable()) thread_.join();
    }
    Found result() {
        thread_.join();
        return found;
    }

private:
    Found found;
    std::thread thread_;
};

struct Browser : testing::Test {
    SimPlatform sim;
    WinUi ui;
    App app{ui, sim.fs, sim.ini, sim.sys, sim.shell};
    WinShell shell;
    void SetUp() override { BindApp(app, ui); }
};

}  // namespace

TEST_F(Browser, ShowsTheTitleAndEditBoxAndCancelGivesNothing) {
    User user(IDCANCEL);
    const BrowseOutcome out = shell.browseForFolder(kTitle, "");
    const Found seen = user.result();
    EXPECT_TRUE(seen.titleShown);
    EXPECT_TRUE(seen.editBox);
    EXPECT_FALSE(out.itemChosen);  // the name buffer may hold anything after Cancel
    EXPECT_EQ(NormaliseBrowseOutcome(out), "\\");
}

TEST_F(Browser, OkWithoutAChoiceReturnsTheDesktopFolder) {
    char desktop[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
    User user(IDOK);
    const BrowseOutcome out = shell.browseForFolder(kTitle, "");
    user.result();
    EXPECT_TRUE(out.itemChosen);
    EXPECT_TRUE(out.hasPath);
    EXPECT_EQ(out.path, desktop);
    EXPECT_EQ(NormaliseBrowseOutcome(out), std::string(desktop) + "\\");
}

TEST_F(Browser, OpensAtTheCurrentRoot) {
    User user(IDOK);
    const BrowseOutcome out = shell.browseForFolder(kTitle, "C:\\windows\\");
    user.result();
    EXPECT_EQ(LowerAsciiGbk(out.path), "c:\\windows");
}
