#include "settings/options.h"

#include "app/app.h"
#include "settings/inifile.h"
#include "settings/rules.h"

namespace {

const std::string kSection = "MP4配置";

const char kTemplate[] =
    "[MP4配置]\r\n"
    "复制路径=K:\\\r\n"
    "迷你窗口=1\r\n"
    "文件校验=0\r\n"
    "删除文件=0\r\n"
    "启用规则=1\r\n"
    "复制方法=0\r\n"
    "[扩展名配置]\r\n"
    "扩展名1=*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg\r\n"
    "路径1=\\Video\r\n"
    "扩展名2=*.mp3;*.wma;*.wav\r\n"
    "路径2=\\music\r\n"
    "扩展名3=*.txt\r\n"
    "路径3=\\txt\r\n"
    "扩展名4=*.bmp;*.jpg;*.gif\r\n"
    "路径4=\\picture\r\n"
    "扩展名5=*.swf\r\n"
    "路径5=\\flash\r\n";

// Only the integer 1 turns an option on.
void LoadFlag(App& app, Ctl box, const std::string& key, int def) {
    app.ui.setChecked(box, ReadIniInt(app, kSection, key, def) == 1);
}

bool SaveFlag(App& app, Ctl box, const std::string& key) {
    return WriteIniText(app, kSection, key, app.ui.checked(box) ? "1" : "0");
}

void WriteTemplateIfMissing(App& app) {
    if (app.fs.exists(app.settingsPath)) return;
    // On a full disk nothing is left, and the next start tries again.
    app.fs.createNewFile(app.settingsPath, std::string(DefaultIniTemplate));
}

}  // namespace

const std::string_view DefaultIniTemplate{kTemplate, sizeof kTemplate - 1};

void LoadOptions(App& app) {
    WriteTemplateIfMissing(app);
    app.ui.setText(Ctl::目录框, ReadIniText(app, kSection, "复制路径", "H:\\VIDEO"));
    LoadFlag(app, Ctl::选择框_校验, "文件校验", 0);
    LoadFlag(app, Ctl::选择框_迷你, "迷你窗口", 1);
    LoadFlag(app, Ctl::选择框_成功后删除源文件, "删除文件", 0);
    LoadFlag(app, Ctl::选择框_规则, "启用规则", 1);
    app.ui.setComboIndex(Ctl::组合框_复制方法, ReadIniInt(app, kSection, "复制方法", 0));
    ApplyMiniWindowOption(app);
    LoadRulesIntoList(app);
}

bool SaveOptions(App& app) {
    bool saved = WriteIniText(app, kSection, "复制路径", app.ui.text(Ctl::目录框));
    saved &= SaveFlag(app, Ctl::选择框_校验, "文件校验");
    saved &= SaveFlag(app, Ctl::选择框_迷你, "迷你窗口");
    saved &= SaveFlag(app, Ctl::选择框_成功后删除源文件, "删除文件");
    saved &= SaveFlag(app, Ctl::选择框_规则, "启用规则");
    saved &= WriteIniText(app, kSection, "复制方法", std::to_string(app.ui.comboIndex(Ctl::组合框_复制方法)));
    return saved;
}

// The rules go too, so defaults restored with 默认 outlive the run.
void SaveOptionsAndConfirm(App& app) {
    const bool optionsSaved = SaveOptions(app);
    ConfirmSave(app, SaveRules(app) && optionsSaved, "配置已保存!");
}

void ApplyMiniWindowOption(App& app) {
    const bool on = app.ui.checked(Ctl::选择框_迷你);
    app.ui.showWindow(Wnd::Mini, on);
    if (on) app.ui.bringToFront(Wnd::Mini);
}
