#pragma once
// mp4.ini: the INI helpers and the six options of section MP4配置.
#include <string>
#include <string_view>

struct App;

extern const std::string_view DefaultIniTemplate;

std::string ReadIniText(App&, const std::string& section, const std::string& key, const std::string& def);
int ReadIniInt(App&, const std::string& section, const std::string& key, int def);
void WriteIniText(App&, const std::string& section, const std::string& key, const std::string& value);

void LoadOptions(App&);
void SaveOptions(App&);
void SaveOptionsAndConfirm(App&);
void ApplyMiniWindowOption(App&);
