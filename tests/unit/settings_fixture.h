#pragma once
// A simulated machine with the program folder on drive C and the mini window loaded,
// as the settings find them at start-up.
#include <string>

#include "platform/sim/sim_platform.h"

struct SettingsSim : SimPlatform {
    static constexpr const char* kIniPath = "C:\\Program Files\\RuzoriZE3\\mp4.ini";

    SettingsSim() {
        fs.addDrive('C', 64LL << 30, 32LL << 30);
        fs.addFolder("C:\\Program Files\\RuzoriZE3");
        app.settingsPath = kIniPath;
        ui.loadWindow(Wnd::Mini);
    }
    explicit SettingsSim(const std::string& text) : SettingsSim() { fs.addFile(kIniPath, text); }

    std::string iniText() { return fs.contents(kIniPath); }
    // A stored value as the profile reads it, "<missing>" when the key is not there.
    std::string stored(const std::string& section, const std::string& key) {
        return ini.readString(section, key, "<missing>", kIniPath);
    }
};
