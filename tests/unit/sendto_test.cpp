// The Send To check box: its tick is what the Send To folder holds.
#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "settings/sendto.h"

namespace {

constexpr const char* kName = "RuzoriZE3视频复制工具";
constexpr Ctl kBox = Ctl::选择框_发送到;

TEST(SendTo, TickedOnlyWhenTheShortcutLeadsToThisExe) {
    struct Case {
        const char* target;  // nullptr: no shortcut
        bool ticked;
    } cases[] = {
        {nullptr, false},
        {"C:\\Program Files\\RuzoriZE3\\RuzoriZE3.exe", true},
        {"c:\\program files\\ruzorize3\\ruzorize3.EXE", true},
        {"D:\\old place\\RuzoriZE3.exe", false},  // the exe was moved
    };
    for (const auto& c : cases) {
        SimPlatform s;
        if (c.target) s.shell.sendTo[kName] = c.target;
        s.ui.setChecked(kBox, !c.ticked);
        ShowSendToEntry(s.app);
        EXPECT_EQ(s.ui.checked(kBox), c.ticked) << (c.target ? c.target : "none");
    }
}

TEST(SendTo, TickingRepairsAndUntickingRemoves) {
    SimPlatform s;
    s.shell.sendTo[kName] = "D:\\old place\\RuzoriZE3.exe";
    s.ui.setChecked(kBox, true);
    ApplySendToOption(s.app);
    EXPECT_EQ(s.shell.sendTo[kName], s.sys.exePath);
    EXPECT_TRUE(s.ui.checked(kBox));
    s.ui.setChecked(kBox, false);
    ApplySendToOption(s.app);
    EXPECT_FALSE(s.shell.sendTo.count(kName));
    EXPECT_FALSE(s.ui.checked(kBox));
    EXPECT_TRUE(s.ui.messageBoxes.empty());
}

TEST(SendTo, AFolderThatRefusesLeavesTheTickTrueToItAndSaysSo) {
    SimPlatform s;
    s.shell.sendToWritable = false;
    s.ui.setChecked(kBox, true);
    ApplySendToOption(s.app);
    EXPECT_FALSE(s.ui.checked(kBox));
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text, "无法修改“发送到”菜单！");
    EXPECT_EQ(s.ui.messageBoxes[0].style, mb::Ok | mb::IconWarning);
}

}  // namespace
