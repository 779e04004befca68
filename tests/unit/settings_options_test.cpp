#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/startup.h"
#include "settings/options.h"
#include "settings/rules.h"
#include "text/escape.h"
#include "settings_fixture.h"

namespace {

const std::string kRules =
    "[扩展名配置]\r\n扩展名1=*.mkv\r\n路径1=\\Films\r\n";

struct Options {
    std::string root;
    bool verify, mini, remove, rules;
    int method;
};

Options Shown(SettingsSim& s) {
    return {s.ui.text(Ctl::目录框), s.ui.checked(Ctl::选择框_校验), s.ui.checked(Ctl::选择框_迷你),
            s.ui.checked(Ctl::选择框_成功后删除源文件), s.ui.checked(Ctl::选择框_规则),
            s.ui.comboIndex(Ctl::组合框_复制方法)};
}

void ExpectShown(SettingsSim& s, const Options& want) {
    const Options got = Shown(s);
    EXPECT_EQ(got.root, want.root);
    EXPECT_EQ(got.verify, want.verify);
    EXPECT_EQ(got.mini, want.mini);
    EXPECT_EQ(got.remove, want.remove);
    EXPECT_EQ(got.rules, want.rules);
    EXPECT_EQ(got.method, want.method);
}

const Options kReadDefaults{"H:\\VIDEO", false, true, false, true, 0};

}  // namespace

TEST(SettingsFile, FirstRunWritesTheTemplateAndShowsItsValues) {
    SettingsSim s;
    LoadOptions(s.app);
    const std::string text = s.iniText();
    EXPECT_EQ(text, DefaultIniTemplate);
    EXPECT_EQ(text.size(), 322u);
    EXPECT_EQ(text.substr(0, 11), "[MP4配置]\r\n");  // no byte-order mark
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 18);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 18);
    ExpectShown(s, {"K:\\", false, true, false, true, 0});
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
    EXPECT_EQ(s.ui.win(Wnd::Mini).frontCount, 1);
    EXPECT_EQ(s.ui.rowCount(Ctl::超级列表框_扩展名), 5);
    EXPECT_EQ(s.ui.cell(Ctl::超级列表框_扩展名, 0, 0), "*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg");
    EXPECT_EQ(s.ui.cell(Ctl::超级列表框_扩展名, 4, 1), "\\flash");
    EXPECT_TRUE(s.ui.messageBoxes.empty());
}

TEST(SettingsFile, TemplateHoldsTheDefaultRules) {
    SettingsSim s;
    LoadOptions(s.app);
    const char* patterns[] = {"*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg", "*.mp3;*.wma;*.wav",
                              "*.txt", "*.bmp;*.jpg;*.gif", "*.swf"};
    const char* paths[] = {"\\Video", "\\music", "\\txt", "\\picture", "\\flash"};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s.stored("扩展名配置", "扩展名" + std::to_string(n)), patterns[n - 1]);
        EXPECT_EQ(s.stored("扩展名配置", "路径" + std::to_string(n)), paths[n - 1]);
    }
    EXPECT_EQ(s.stored("MP4配置", "复制方法"), "0");
}

TEST(SettingsFile, StartUpCreatesTheFileBesideTheProgram) {
    SettingsSim s;
    s.app.settingsPath.clear();
    InitMainWindow(s.app, 0x10A2);
    EXPECT_EQ(s.app.settingsPath, SettingsSim::kIniPath);
    EXPECT_EQ(s.iniText(), DefaultIniTemplate);
    EXPECT_EQ(s.ui.text(Ctl::目录框), "K:\\");
}

TEST(SettingsFile, AnExistingFileIsReadAndLeftAsItIs) {
    const std::string text =
        "[MP4配置]\r\n复制路径=J:\\MP4\r\n迷你窗口=0\r\n文件校验=1\r\n删除文件=1\r\n启用规则=0\r\n复制方法=1\r\n" + kRules;
    SettingsSim s(text);
    LoadOptions(s.app);
    EXPECT_EQ(s.iniText(), text);
    ExpectShown(s, {"J:\\MP4", true, false, true, false, 1});
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Mini));
    EXPECT_EQ(s.ui.cell(Ctl::超级列表框_扩展名, 0, 0), "*.mkv");
    EXPECT_EQ(s.ui.cell(Ctl::超级列表框_扩展名, 0, 1), "\\Films");
}

TEST(SettingsFile, MissingKeysAndSectionsReadAsDefaults) {
    SettingsSim onlyRules(kRules);
    LoadOptions(onlyRules.app);
    ExpectShown(onlyRules, kReadDefaults);

    SettingsSim onlyOptions("[MP4配置]\r\n文件校验=1\r\n");
    LoadOptions(onlyOptions.app);
    ExpectShown(onlyOptions, {"H:\\VIDEO", true, true, false, true, 0});
    ASSERT_EQ(onlyOptions.ui.rowCount(Ctl::超级列表框_扩展名), 5);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(onlyOptions.ui.cell(Ctl::超级列表框_扩展名, r, 0), "");
        EXPECT_EQ(onlyOptions.ui.cell(Ctl::超级列表框_扩展名, r, 1), "");
        EXPECT_EQ(onlyOptions.ui.rowImage(Ctl::超级列表框_扩展名, r), r + 1);
    }
}

TEST(SettingsFile, OnlyTheIntegerOneTicksABox) {
    SettingsSim s("[MP4配置]\r\n文件校验=abc\r\n迷你窗口=2\r\n删除文件=-1\r\n启用规则=1abc\r\n");
    LoadOptions(s.app);
    EXPECT_FALSE(s.ui.checked(Ctl::选择框_校验));
    EXPECT_FALSE(s.ui.checked(Ctl::选择框_迷你));
    EXPECT_FALSE(s.ui.checked(Ctl::选择框_成功后删除源文件));
    EXPECT_TRUE(s.ui.checked(Ctl::选择框_规则));
    SaveOptions(s.app);
    EXPECT_EQ(s.stored("MP4配置", "文件校验"), "0");
    EXPECT_EQ(s.stored("MP4配置", "迷你窗口"), "0");
    EXPECT_EQ(s.stored("MP4配置", "删除文件"), "0");
    EXPECT_EQ(s.stored("MP4配置", "启用规则"), "1");
}

TEST(SettingsFile, CopyMethodOutOfRangeSelectsNothing) {
    SettingsSim s("[MP4配置]\r\n复制方法=7\r\n");
    LoadOptions(s.app);
    EXPECT_EQ(s.ui.comboIndex(Ctl::组合框_复制方法), -1);
    SaveOptions(s.app);
    EXPECT_EQ(s.stored("MP4配置", "复制方法"), "-1");
}

TEST(SettingsFile, LongCopyPathIsCutTo254Bytes) {
    SettingsSim ascii("[MP4配置]\r\n复制路径=K:\\" + std::string(297, 'a') + "\r\n");
    LoadOptions(ascii.app);
    EXPECT_EQ(ascii.ui.text(Ctl::目录框), "K:\\" + std::string(251, 'a'));

    // Odd length before the double-byte characters: the cut falls inside one, which is dropped.
    std::string wide;
    for (int i = 0; i < 150; ++i) wide += "運";
    SettingsSim gbk("[MP4配置]\r\n复制路径=K:\\" + wide + "\r\n");
    LoadOptions(gbk.app);
    EXPECT_EQ(gbk.ui.text(Ctl::目录框), "K:\\" + wide.substr(0, 250));

    // Nor inside the escape of a character GBK cannot hold.
    std::string emoji;
    for (int i = 0; i < 36; ++i) emoji += EscapeCodePoint(0x1F600);
    SettingsSim escaped("[MP4配置]\r\n复制路径=K:\\" + emoji + "\r\n");
    LoadOptions(escaped.app);
    EXPECT_EQ(escaped.ui.text(Ctl::目录框), "K:\\" + emoji.substr(0, 35 * kEscapeSize));
}

// Written beside itself and put in place: a failed write leaves it whole; one that cannot
// be read is not saved over, which would leave only the keys being saved.
TEST(SettingsFile, AFailedSaveLeavesTheFileAsItWas) {
    for (FaultOp failing : {FaultOp::OpenRead, FaultOp::Read, FaultOp::OpenWrite, FaultOp::Write, FaultOp::Flush,
                            FaultOp::Close, FaultOp::Replace}) {
        SettingsSim s;
        LoadOptions(s.app);
        s.ui.setChecked(Ctl::选择框_校验, true);
        s.fs.fault = [failing](FaultOp op, const std::string&) { return op == failing; };
        EXPECT_FALSE(SaveOptions(s.app)) << static_cast<int>(failing);
        EXPECT_EQ(s.iniText(), DefaultIniTemplate);
        EXPECT_FALSE(s.fs.exists(std::string(SettingsSim::kIniPath) + ".tmp"));
    }
}

// A hand-edited file keeps every line the program does not write: "[]" still ends 扩展名配置.
TEST(SettingsFile, ASaveChangesOnlyTheLinesOfItsOwnKeys) {
    const std::string before = "; my player\r\n[MP4配置]\r\n 复制路径 = K:\\\r\n\r\n文件校验=0\r\n[扩展名配置]\r\n"
                               "扩展名4=*.bmp\r\n[]\r\n路径4=\\picture\n";
    SettingsSim s(before);
    LoadOptions(s.app);
    s.ui.setChecked(Ctl::选择框_校验, true);
    EXPECT_TRUE(SaveOptions(s.app));
    EXPECT_EQ(s.iniText(), "; my player\r\n[MP4配置]\r\n 复制路径 = K:\\\r\n\r\n文件校验=1\r\n迷你窗口=1\r\n删除文件=0\r\n"
                           "启用规则=1\r\n复制方法=0\r\n[扩展名配置]\r\n扩展名4=*.bmp\r\n[]\r\n路径4=\\picture\n");
    EXPECT_EQ(s.stored("扩展名配置", "路径4"), "<missing>");

    // A value with a line break would add keys of its own.
    const std::string saved = s.iniText();
    EXPECT_FALSE(s.ini.writeString("MP4配置", "复制路径", "K:\\\r\n[扩展名配置]\r\n路径1=\\..", SettingsSim::kIniPath));
    EXPECT_EQ(s.iniText(), saved);
}

TEST(SettingsFile, RandomBytesLoadWithDefaults) {
    std::mt19937 rng(20080824);
    std::string junk(4096, '\0');
    for (char& c : junk) c = static_cast<char>(rng() & 0xFF);
    SettingsSim s(junk);
    LoadOptions(s.app);
    ExpectShown(s, kReadDefaults);
    EXPECT_EQ(s.ui.rowCount(Ctl::超级列表框_扩展名), 5);
    EXPECT_EQ(s.iniText(), junk);
}

TEST(SettingsFile, ReadOnlyProgramFolderStartsWithReadDefaultsSilently) {
    SettingsSim s;
    s.fs.fault = [](FaultOp op, const std::string&) { return op == FaultOp::OpenWrite; };
    LoadOptions(s.app);
    EXPECT_FALSE(s.fs.exists(SettingsSim::kIniPath));
    ExpectShown(s, kReadDefaults);
    EXPECT_EQ(s.ui.rowCount(Ctl::超级列表框_扩展名), 5);
    SaveOptions(s.app);
    EXPECT_FALSE(s.fs.exists(SettingsSim::kIniPath));
    EXPECT_TRUE(s.ui.messageBoxes.empty());
}

TEST(SettingsFile, HalfWrittenTemplateIsRemovedSoTheNextStartWritesItWhole) {
    SettingsSim full;
    full.fs.drives['C'].freeBytes = 100;
    LoadOptions(full.app);
    EXPECT_FALSE(full.fs.exists(SettingsSim::kIniPath));
    ExpectShown(full, kReadDefaults);

    full.fs.drives['C'].freeBytes = 1 << 20;
    LoadOptions(full.app);
    EXPECT_EQ(full.iniText(), DefaultIniTemplate);
}

TEST(SaveOptions, WritesTheSixKeysFromTheControlsOnly) {
    SettingsSim s;
    LoadOptions(s.app);
    s.ui.setText(Ctl::目录框, " J:\\MP4 ");
    s.ui.setChecked(Ctl::选择框_校验, true);
    s.ui.setChecked(Ctl::选择框_迷你, false);
    s.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    s.ui.setChecked(Ctl::选择框_规则, false);
    s.ui.setComboIndex(Ctl::组合框_复制方法, 1);
    s.ui.setText(Ctl::编辑框_扩展名, "*.ogg");  // edited but not applied
    SaveOptionsAndConfirm(s.app);
    EXPECT_EQ(s.stored("MP4配置", "复制路径"), "J:\\MP4");  // the store drops the blanks
    EXPECT_EQ(s.stored("MP4配置", "文件校验"), "1");
    EXPECT_EQ(s.stored("MP4配置", "迷你窗口"), "0");
    EXPECT_EQ(s.stored("MP4配置", "删除文件"), "1");
    EXPECT_EQ(s.stored("MP4配置", "启用规则"), "0");
    EXPECT_EQ(s.stored("MP4配置", "复制方法"), "1");
    EXPECT_EQ(s.stored("扩展名配置", "扩展名2"), "*.mp3;*.wma;*.wav");
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text, "配置已保存!");
    EXPECT_EQ(s.ui.messageBoxes[0].style, 0x40u);
}

TEST(SaveOptions, AlsoKeepsTheRulesTheListShowsForTheNextStart) {
    SettingsSim s(kRules);
    LoadOptions(s.app);
    RestoreDefaultRules(s.app);
    SaveOptionsAndConfirm(s.app);
    ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes[0].text, "配置已保存!");

    SettingsSim restarted(s.iniText());
    LoadOptions(restarted.app);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(restarted.ui.cell(Ctl::超级列表框_扩展名, r, c), s.ui.cell(Ctl::超级列表框_扩展名, r, c));
}

// A read-only mp4.ini (a program folder under Program Files), and one held open elsewhere.
TEST(SaveOptions, BothSaveButtonsNameTheFileAndWhyTheyCouldNotSaveIt) {
    for (int i = 0; i < 4; ++i) {
        const auto save = i % 2 ? ApplyRuleEdit : SaveOptionsAndConfirm;
        const bool held = i > 1;
        SettingsSim s;
        LoadOptions(s.app);
        s.ui.setChecked(Ctl::选择框_校验, true);
        s.ui.selectRow(Ctl::超级列表框_扩展名, 2);
        s.ui.setText(Ctl::编辑框_扩展名, "*.doc");
        auto* file = s.fs.find(SettingsSim::kIniPath);
        (held ? file->locked : file->readOnly) = true;
        save(s.app);
        ASSERT_EQ(s.ui.messageBoxes.size(), 1u);
        const std::string why = held ? "保存失败！无法读取文件\r\n" : "保存失败！无法写入文件\r\n";
        EXPECT_EQ(s.ui.messageBoxes[0].text.find(why + SettingsSim::kIniPath), 0u);
        EXPECT_EQ(s.ui.messageBoxes[0].title, kProgramTitle);
        EXPECT_EQ(s.ui.messageBoxes[0].style, mb::Ok | mb::IconError);
    }
}

TEST(SaveOptions, UnchangedOptionsLeaveTheFileAsItWas) {
    SettingsSim s;
    LoadOptions(s.app);
    SaveOptions(s.app);
    EXPECT_EQ(s.iniText(), DefaultIniTemplate);
}

TEST(SaveOptions, ExitKeepsUnsavedChangesSilently) {
    SettingsSim s;
    LoadOptions(s.app);
    s.ui.setChecked(Ctl::选择框_校验, true);
    s.ui.setComboIndex(Ctl::组合框_复制方法, 1);
    ExitProgram(s.app);
    EXPECT_TRUE(s.ui.messageBoxes.empty());

    SettingsSim restarted(s.iniText());
    LoadOptions(restarted.app);
    ExpectShown(restarted, {"K:\\", true, true, false, true, 1});
}

TEST(MiniWindowOption, TakesEffectAtOnceWithoutWriting) {
    SettingsSim s;
    LoadOptions(s.app);
    s.ui.setChecked(Ctl::选择框_迷你, false);
    ApplyMiniWindowOption(s.app);
    EXPECT_FALSE(s.ui.windowVisible(Wnd::Mini));
    EXPECT_EQ(s.stored("MP4配置", "迷你窗口"), "1");

    s.ui.setChecked(Ctl::选择框_迷你, true);
    ApplyMiniWindowOption(s.app);
    EXPECT_TRUE(s.ui.windowVisible(Wnd::Mini));
    EXPECT_EQ(s.ui.win(Wnd::Mini).frontCount, 2);

    SettingsSim restarted(s.iniText());
    LoadOptions(restarted.app);
    EXPECT_TRUE(restarted.ui.windowVisible(Wnd::Mini));
}
