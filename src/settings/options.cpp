#include "settings/options.h"

#include "app/app.h"
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

void SaveFlag(App& app, Ctl box, const std::string& key) {
    WriteIniText(app, kSection, key, app.ui.checked(box) ? "1" : "0");
}

void WriteTemplateIfMissing(App& app) {
    if (app.fs.exists(app.settingsPath)) return;
    // On a full disk nothing is left, and the next start tries again.
    app.fs.createNewFile(app.settingsPath, std::string(DefaultIniTemplate));
}

}  // namespace

const std::string_view DefaultIniTemplate{kTemplate, sizeof kTemplate - 1};

std::string ReadIniText(App& app, const std::string& section, const std::string& key, const std::string& def) {
    return app.ini.readString(section, key, def, app.settingsPath);
}

int ReadIniInt(App& app, const std::string& section, const std::string& key, int def) {
    return app.ini.readInt(section, key, def, app.settingsPath);
}

void WriteIniText(App& app, const std::string& section, const std::string& key, const std::string& value) {
    app.ini.writeString(section, key, value, app.settingsPath);
}

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

void SaveOptions(App& app) {
    WriteIniText(app, kSection, "复制路径", app.ui.text(Ctl::目录框));
    SaveFlag(app, Ctl::选择框_校验, "文件校验");
    SaveFlag(app, Ctl::选择框_迷你, "迷你窗口");
    SaveFlag(app, Ctl::选择框_成功后删除源文件, "删除文件");
    SaveFlag(app, Ctl::选择框_规则, "启用规则");
    WriteIniText(app, kSection, "复制方法", std::to_string(app.ui.comboIndex(Ctl::组合框_复制方法)));
}

void SaveOptionsAndConfirm(App& app) {
    SaveOptions(app);
    app.ui.messageBox("配置已保存!", kProgramTitle, mb::Ok | mb::IconInfo);
}

void ApplyMiniWindowOption(App& app) {
    const bool on = app.ui.checked(Ctl::选择框_迷你);
    app.ui.showWindow(Wnd::Mini, on);
    if (on) app.ui.bringToFront(Wnd::Mini);
}
