#pragma once
// mp4.ini: the INI helpers and the six options of section MP4配置.
#include <string>
#include <string_view>

struct App;

extern const std::string_view DefaultIniTemplate;

std::string ReadIniText(App&, const std::string& section, const std::string& key, const std::string& def);
int ReadIniInt(App&, const std::string& section, const std::string& key, int def);
// False when mp4.ini could not be written.
bool WriteIniText(App&, const std::string& section, const std::string& key, const std::string& value);

// mp4.ini gives the value back whole; the refusal names the limit.
bool FitsIniValue(const std::string& value);
std::string TooLongForIni(const std::string& what);

void LoadOptions(App&);
bool SaveOptions(App&);  // false when mp4.ini could not be written
// Saves the options and the rules the list shows, with one message.
void SaveOptionsAndConfirm(App&);
// Says success, or that mp4.ini could not be written, naming it.
void ConfirmSave(App&, bool saved, const std::string& success);
void ApplyMiniWindowOption(App&);
