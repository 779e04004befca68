#include "settings/rules.h"

#include <array>

#include "app/app.h"
#include "paths/rulecheck.h"
#include "settings/inifile.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_扩展名;
const std::string kSection = "扩展名配置";
constexpr int kRuleCount = 5;

struct RuleText {
    std::string pattern, subPath;
};

const std::array<RuleText, kRuleCount> kDefaultRules = {{
    {"*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg", "\\Video"},
    {"*.mp3;*.wma;*.wav", "\\music"},
    {"*.txt", "\\txt"},
    {"*.bmp;*.jpg;*.gif", "\\picture"},
    {"*.swf", "\\flash"},
}};

const char kBadPattern[] = "扩展名格式不对！\r\n每项应为“*.扩展名”，多项用分号分开\r\n例如：*.mp3;*.wma";
const char kDeviceSubPath[] =
    "目标路径不能用设备名！\r\nCON、PRN、AUX、NUL、COM0至COM9、LPT0至LPT9\r\n"
    "（带扩展名的也算，如 NUL.txt）是Windows保留的名称，不能作文件夹名";
const char kBadSubPath[] =
    "目标路径格式不对！\r\n应为目标目录下的文件夹，例如：\\music\r\n"
    "不能含盘符、“.”或“..”，\r\n也不能含 < > : \" / | ? * 等字符";

std::string PatternKey(int n) { return "扩展名" + std::to_string(n); }
std::string PathKey(int n) { return "路径" + std::to_string(n); }

// Row N - 1 shows rule N with image N.
template <typename RuleOf>
void FillList(App& app, RuleOf ruleOf) {
    app.ui.deleteAllRows(kList);
    for (int n = 1; n <= kRuleCount; ++n) {
        const RuleText rule = ruleOf(n);
        const int row = app.ui.appendRow(kList, rule.pattern, n);
        app.ui.setCell(kList, row, 1, rule.subPath);
    }
}

}  // namespace

void LoadRulesIntoList(App& app) {
    // The editor takes no more than mp4.ini gives back whole.
    for (Ctl box : {Ctl::编辑框_扩展名, Ctl::编辑框_目标路径}) app.ui.setTextLimit(box, kMaxIniValueBytes);
    FillList(app, [&app](int n) {
        return RuleText{ReadIniText(app, kSection, PatternKey(n), ""), ReadIniText(app, kSection, PathKey(n), "")};
    });
}

void RestoreDefaultRules(App& app) {
    FillList(app, [](int n) { return kDefaultRules[n - 1]; });
}

void ShowSelectedRule(App& app) {
    const int row = app.ui.currentRow(kList);
    // With no current row the boxes are emptied, so they never show a rule that is not selected.
    app.ui.setText(Ctl::编辑框_扩展名, row < 0 ? "" : app.ui.cell(kList, row, 0));
    app.ui.setText(Ctl::编辑框_目标路径, row < 0 ? "" : app.ui.cell(kList, row, 1));
}

// The edit is checked before it reaches the list, which sorts every file added from now on.
void ApplyRuleEdit(App& app) {
    const int row = app.ui.currentRow(kList);
    const std::string pattern = app.ui.text(Ctl::编辑框_扩展名);
    const std::string subPath = WithLeadingBackslash(app.ui.text(Ctl::编辑框_目标路径));
    const std::string refusal = row < 0                                           ? "没有选中需要修改的项"
                                : !FitsIniValue(pattern) || !FitsIniValue(subPath) ? TooLongForIni("扩展名或目标路径")
                                : !IsPatternList(pattern)                          ? kBadPattern
                                : NamesDevice(subPath)                             ? kDeviceSubPath
                                : !IsSafeSubPath(subPath)                          ? kBadSubPath
                                                                                   : "";
    if (!refusal.empty()) {
        app.ui.messageBox(refusal, kProgramTitle, mb::Ok | mb::IconWarning);
        return;
    }
    app.ui.setCell(kList, row, 0, pattern);
    app.ui.setCell(kList, row, 1, subPath);
    app.ui.setText(Ctl::编辑框_目标路径, subPath);
    ConfirmSave(app, SaveRules(app), "扩展名保存成功！");
}

bool SaveRules(App& app) {
    bool saved = true;
    for (int n = 1; n <= kRuleCount; ++n) {
        saved &= WriteIniText(app, kSection, PatternKey(n), app.ui.cell(kList, n - 1, 0));
        saved &= WriteIniText(app, kSection, PathKey(n), app.ui.cell(kList, n - 1, 1));
    }
    return saved;
}

std::string JoinAllPatterns(App& app) {
    std::string joined = ReadIniText(app, kSection, PatternKey(1), "");
    for (int n = 2; n <= kRuleCount; ++n) joined += ";" + ReadIniText(app, kSection, PatternKey(n), "");
    return joined;
}
