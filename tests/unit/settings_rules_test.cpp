#include <gtest/gtest.h>

#include "settings/options.h"
#include "settings/rules.h"
#include "settings_fixture.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_扩展名;

const std::string kDefaultJoined =
    "*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg;*.mp3;*.wma;*.wav;*.txt;*.bmp;*.jpg;*.gif;*.swf";

const std::string kCustom =
    "[扩展名配置]\r\n扩展名1=*.mkv\r\n路径1=\\Films\r\n扩展名2=*.ogg\r\n路径2=\\Songs\r\n"
    "扩展名3=*.doc\r\n路径3=\\Docs\r\n扩展名4=*.png\r\n路径4=\\Pics\r\n扩展名5=*.fla\r\n路径5=\\Anim\r\n";

struct Loaded : SettingsSim {
    explicit Loaded(const std::string& text) : SettingsSim(text) { LoadRulesIntoList(app); }
    Loaded() { LoadOptions(app); }
    std::string cell(int row, int col) { return ui.cell(kList, row, col); }
};

}  // namespace

TEST(RuleList, ShowsTheFiveRulesFromTheFileWithTheirImages) {
    Loaded s(kCustom);
    ASSERT_EQ(s.ui.rowCount(kList), 5);
    EXPECT_EQ(s.ui.column0(kList), (std::vector<std::string>{"*.mkv", "*.ogg", "*.doc", "*.png", "*.fla"}));
    EXPECT_EQ(s.cell(0, 1), "\\Films");
    EXPECT_EQ(s.cell(4, 1), "\\Anim");
    for (int r = 0; r < 5; ++r) EXPECT_EQ(s.ui.rowImage(kList, r), r + 1);
}

TEST(RuleList, ReplacesEarlierRowsAndLeavesMissingKeysEmpty) {
    SettingsSim s("[扩展名配置]\r\n扩展名2=*.ogg\r\n路径4=\\Pics\r\n");
    s.ui.appendRow(kList, "design-time row", 0);
    LoadRulesIntoList(s.app);
    ASSERT_EQ(s.ui.rowCount(kList), 5);
    EXPECT_EQ(s.ui.column0(kList), (std::vector<std::string>{"", "*.ogg", "", "", ""}));
    EXPECT_EQ(s.ui.cell(kList, 3, 1), "\\Pics");
    EXPECT_EQ(s.ui.cell(kList, 1, 1), "");
}

TEST(RuleList, DefaultsReplaceTheListButNotTheFileUntilReloaded) {
    Loaded s(kCustom);
    RestoreDefaultRules(s.app);
    EXPECT_EQ(s.cell(1, 0), "*.mp3;*.wma;*.wav");
    EXPECT_EQ(s.cell(3, 1), "\\picture");
    EXPECT_EQ(s.ui.rowImage(kList, 3), 4);
    EXPECT_EQ(s.iniText(), kCustom);
    LoadRulesIntoList(s.app);  // 刷新
    EXPECT_EQ(s.cell(1, 0), "*.ogg");
}

TEST(RuleEditor, SelectingARowFillsTheEditBoxes) {
    Loaded s(kCustom);
    s.ui.selectRow(kList, 2);
    ShowSelectedRule(s.app);
    EXPECT_EQ(s.ui.text(Ctl::编辑框_扩展名), "*.doc");
    EXPECT_EQ(s.ui.text(Ctl::编辑框_目标路径), "\\Docs");
    s.ui.selectRow(kList, -1);
    ShowSelectedRule(s.app);
    EXPECT_EQ(s.ui.text(Ctl::编辑框_扩展名), "");
    EXPECT_EQ(s.ui.text(Ctl::编辑框_目标路径), "");
}

TEST(RuleEditor, ApplyWithoutASelectedRowWarnsAndChangesNothing) {
    Loaded s(kCustom);
    s.ui.setText(Ctl::编辑框_扩展名, "*.xyz");
    ApplyRuleEdit(s.app);
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text, "没有选中需要修改的项");
    EXPECT_EQ(s.ui.messageBoxes[0].style, 0x30u);
    EXPECT_EQ(s.iniText(), kCustom);
    EXPECT_EQ(s.ui.column0(kList), (std::vector<std::string>{"*.mkv", "*.ogg", "*.doc", "*.png", "*.fla"}));
}

TEST(RuleEditor, ApplyStoresTheEditInTheRowAndSavesAllFive) {
    Loaded s;
    s.ui.selectRow(kList, 1);
    ShowSelectedRule(s.app);
    s.ui.setText(Ctl::编辑框_扩展名, s.ui.text(Ctl::编辑框_扩展名) + ";*.ogg");
    ApplyRuleEdit(s.app);
    EXPECT_EQ(s.cell(1, 0), "*.mp3;*.wma;*.wav;*.ogg");
    EXPECT_EQ(s.stored("扩展名配置", "扩展名2"), "*.mp3;*.wma;*.wav;*.ogg");
    EXPECT_EQ(s.stored("扩展名配置", "路径2"), "\\music");
    EXPECT_NE(JoinAllPatterns(s.app).find(";*.wav;*.ogg;*.txt;"), std::string::npos);
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text, "扩展名保存成功！");
    EXPECT_EQ(s.ui.messageBoxes[0].style, 0x40u);
}

TEST(RuleEditor, ApplyAfterDefaultsStoresEveryDefaultRule) {
    Loaded s(kCustom);
    RestoreDefaultRules(s.app);
    s.ui.selectRow(kList, 2);
    ShowSelectedRule(s.app);
    ApplyRuleEdit(s.app);
    EXPECT_EQ(JoinAllPatterns(s.app), kDefaultJoined);
    EXPECT_EQ(s.stored("扩展名配置", "路径1"), "\\Video");
    EXPECT_EQ(s.stored("扩展名配置", "路径5"), "\\flash");
}

TEST(RuleEditor, BlankSubPathIsStoredEmpty) {
    Loaded s(kCustom);
    s.ui.selectRow(kList, 2);
    ShowSelectedRule(s.app);
    s.ui.setText(Ctl::编辑框_目标路径, "");
    ApplyRuleEdit(s.app);
    EXPECT_EQ(s.stored("扩展名配置", "路径3"), "");
    EXPECT_NE(s.iniText().find("\r\n路径3=\r\n"), std::string::npos);
}

TEST(JoinedPatterns, ComeFromTheFileNotTheList) {
    Loaded s;
    EXPECT_EQ(JoinAllPatterns(s.app), kDefaultJoined);
    s.ui.setCell(kList, 0, 0, "*.avi");
    EXPECT_EQ(JoinAllPatterns(s.app), kDefaultJoined);

    SettingsSim sparse("[扩展名配置]\r\n扩展名2=*.ogg\r\n扩展名5=*.fla\r\n");
    EXPECT_EQ(JoinAllPatterns(sparse.app), ";*.ogg;;;*.fla");
    SettingsSim none;
    EXPECT_EQ(JoinAllPatterns(none.app), ";;;;");
}

// Only "*.ext" items and folders below the target root are taken; a sub-path gets its
// leading "\". Trail bytes 0x5C and 0x7C (淺, 東) are parts of characters, not separators.
TEST(RuleEditor, ApplyRefusesPatternsAndPathsThatAreNotSafe) {
    struct Case {
        std::string pattern, subPath, refusedField;  // field "": the rule is taken
        std::string stored = "";
    };
    const Case cases[] = {
        {"*.ogg;*.flac", "music", "", "\\music"},
        {"*.ogg", "\\淺\\東\\", "", "\\淺\\東\\"},
        {"", "\\txt", "扩展名"},
        {"txt;log", "\\txt", "扩展名"},
        {"*.mp3;*.m?3", "\\txt", "扩展名"},
        {"*.txt", "\\..\\..\\escape", "目标路径"},
        {"*.txt", "K:\\escape", "目标路径"},
        {"*.txt", "\\\\server\\share", "目标路径"},
        {"*.txt", "\\a/../..", "目标路径"},
        {"*.txt", "\\a|b", "目标路径"},
        {"*.txt", "\\COM1.mp3", "目标路径不能用设备名"},
        {"*.txt", "\\a\\lpt1\\", "目标路径不能用设备名"},
        {"*.txt", "\\CONSOLE\\COM10", "", "\\CONSOLE\\COM10"},
        // mp4.ini gives back 254 bytes: a longer text would come back cut
        {"*." + std::string(4089, 'e'), "\\txt", "扩展名或目标路径太长"},
        {"*.txt", "\\" + std::string(127, 'a') + "運" + std::string(125, 'a'), "扩展名或目标路径太长"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern + " " + c.subPath);
        Loaded s(kCustom);
        s.ui.selectRow(kList, 2);
        s.ui.setText(Ctl::编辑框_扩展名, c.pattern);
        s.ui.setText(Ctl::编辑框_目标路径, c.subPath);
        ApplyRuleEdit(s.app);
        ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
        const bool taken = c.refusedField.empty();
        EXPECT_EQ(s.ui.messageBoxes[0].style, taken ? 0x40u : 0x30u);
        EXPECT_EQ(s.ui.messageBoxes[0].text.find(c.refusedField), 0u);
        EXPECT_EQ(s.stored("扩展名配置", "路径3"), taken ? c.stored : "\\Docs");
        EXPECT_EQ(s.cell(2, 1), taken ? c.stored : "\\Docs");
        EXPECT_EQ(s.ui.control(Ctl::编辑框_扩展名).textLimit, 254u);
        EXPECT_EQ(s.ui.control(Ctl::编辑框_目标路径).textLimit, 254u);
    }
}
