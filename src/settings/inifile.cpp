#include "settings/inifile.h"

#include "app/app.h"

std::string ReadIniText(App& app, const std::string& section, const std::string& key, const std::string& def) {
    return app.ini.readString(section, key, def, app.settingsPath);
}

int ReadIniInt(App& app, const std::string& section, const std::string& key, int def) {
    return app.ini.readInt(section, key, def, app.settingsPath);
}

bool WriteIniText(App& app, const std::string& section, const std::string& key, const std::string& value) {
    return app.ini.writeString(section, key, value, app.settingsPath);
}

bool FitsIniValue(const std::string& value) { return value.size() <= kMaxIniValueBytes; }

std::string TooLongForIni(const std::string& what) {
    return what + "太长！\r\nmp4.ini每项最多保存" + std::to_string(kMaxIniValueBytes) + "个字节（一个汉字占2个字节）";
}

void ConfirmSave(App& app, bool saved, const std::string& success) {
    if (saved) {
        app.ui.messageBox(success, kProgramTitle, mb::Ok | mb::IconInfo);
        return;
    }
    if (!app.ini.readable(app.settingsPath)) {
        app.ui.messageBox("保存失败！无法读取文件\r\n" + app.settingsPath +
                              "\r\n为了不丢失其中的其他设置，文件保持原样。\r\n请关闭正在使用该文件的程序后再保存。",
                          kProgramTitle, mb::Ok | mb::IconError);
        return;
    }
    app.ui.messageBox("保存失败！无法写入文件\r\n" + app.settingsPath + "\r\n请检查该文件是否只读，或所在文件夹是否允许写入。",
                      kProgramTitle, mb::Ok | mb::IconError);
}
