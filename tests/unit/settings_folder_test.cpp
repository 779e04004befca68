#include <gtest/gtest.h>

#include "settings/folder.h"
#include "settings/options.h"
#include "text/escape.h"
#include "settings_fixture.h"

namespace {

BrowseOutcome Chosen(const std::string& path, const std::string& displayName) {
    return {true, displayName, true, path};
}

struct Browsing : SettingsSim {
    Browsing() {
        fs.addDrive('K', 8LL << 30, 2LL << 30);
        fs.addFolder("K:\\Media");
        LoadOptions(app);
        ui.setText(Ctl::标签_显示大小, "");
    }
    const TrayRecord& lastBalloon() { return shell.notifications.back().record; }
};

}  // namespace

TEST(BrowseResult, EndsInExactlyOneBackslash) {
    EXPECT_EQ(NormaliseBrowseOutcome(Chosen("K:\\", "MP4 (K:)")), "K:\\");
    EXPECT_EQ(NormaliseBrowseOutcome(Chosen("K:\\Media", "Media")), "K:\\Media\\");
    EXPECT_EQ(NormaliseBrowseOutcome(Chosen("\\\\srv\\share", "share")), "\\\\srv\\share\\");
    const std::string beyondGbk = EscapeCodePoint(0xD8) + "rsted";  // kept whole, written to mp4.ini as it is
    EXPECT_EQ(NormaliseBrowseOutcome(Chosen("K:\\" + beyondGbk, beyondGbk)), "K:\\" + beyondGbk + "\\");
    // The display-name buffer keeps the blanks it was filled with after the name's zero.
    EXPECT_EQ(NormaliseBrowseOutcome(Chosen("K:\\Media", std::string("  Media  \0 ? ", 13))), "K:\\Media\\");
}

TEST(BrowseResult, NothingUsableGivesABackslash) {
    EXPECT_EQ(NormaliseBrowseOutcome({false, std::string(260, ' '), false, ""}), "\\");       // Cancel
    EXPECT_EQ(NormaliseBrowseOutcome({true, "我的电脑", false, ""}), "\\");                   // virtual folder
    EXPECT_EQ(NormaliseBrowseOutcome(Chosen("K:\\Media\\?", "Vid?o")), "\\");                // unshowable name
    EXPECT_EQ(NormaliseBrowseOutcome({false, "", true, "K:\\Media"}), "\\");
}

TEST(ChooseTarget, ShowsAndStoresTheFolderAtOnce) {
    Browsing s;
    s.shell.browseAnswers.push_back(Chosen("K:\\Media", "Media"));
    ChooseTargetFolder(s.app);
    EXPECT_EQ(s.shell.lastDialogTitle, "请选择RuzoriZE3磁盘根目录");
    EXPECT_EQ(s.ui.text(Ctl::目录框), "K:\\Media\\");
    EXPECT_EQ(s.stored("MP4配置", "复制路径"), "K:\\Media\\");
    EXPECT_NE(s.ui.text(Ctl::标签_显示大小), "");  // the size display measured the new disk
    EXPECT_TRUE(s.ui.messageBoxes.empty());

    s.shell.browseAnswers.push_back(Chosen("K:\\", "MP4 (K:)"));
    ChooseTargetFolder(s.app);
    EXPECT_EQ(s.stored("MP4配置", "复制路径"), "K:\\");
}

TEST(ChooseTarget, CancelChangesNothing) {
    Browsing s;
    s.ui.setText(Ctl::目录框, "J:\\Old\\");
    const std::string before = s.iniText();
    ChooseTargetFolder(s.app);
    EXPECT_EQ(s.ui.text(Ctl::目录框), "J:\\Old\\");
    EXPECT_EQ(s.iniText(), before);
    EXPECT_EQ(s.ui.text(Ctl::标签_显示大小), "");
}

TEST(ChooseTarget, FromTheMiniMenuABalloonTellsTheRootEvenAfterCancel) {
    Browsing s;
    s.shell.browseAnswers.push_back(Chosen("K:\\Media", "Media"));
    ChooseTargetFolderAndNotify(s.app);
    EXPECT_EQ(s.lastBalloon().szInfo, "目标目录已被修改为K:\\Media\\");
    EXPECT_EQ(s.lastBalloon().szInfoTitle, s.ui.title(Wnd::Main));
    EXPECT_EQ(s.lastBalloon().dwInfoFlags, 1u);

    ChooseTargetFolderAndNotify(s.app);  // Cancel
    EXPECT_EQ(s.lastBalloon().szInfo, "目标目录已被修改为K:\\Media\\");
    EXPECT_EQ(s.stored("MP4配置", "复制路径"), "K:\\Media\\");
}

// mp4.ini gives back 254 bytes: a longer root is refused where it is chosen.
TEST(ChooseTarget, OpensAtTheRootAndRefusesOneTooLongForTheFile) {
    Browsing s;
    ChooseTargetFolder(s.app);
    EXPECT_EQ(s.shell.lastBrowseStart, "K:\\");
    std::string longest = "K:\\";
    for (int i = 0; i < 36; ++i) longest += EscapeCodePoint(0x1F600);  // 256 bytes with the final "\"
    s.shell.browseAnswers.push_back(Chosen(longest, "x"));
    ChooseTargetFolder(s.app);
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text.rfind("目标目录太长！\r\nmp4.ini每项最多保存254个字节", 0), 0u);
    EXPECT_EQ(s.ui.text(Ctl::目录框), "K:\\");
    EXPECT_EQ(s.stored("MP4配置", "复制路径"), "K:\\");
}
