#pragma once
// Reading and writing mp4.ini, for the options and the rules alike.
#include <string>

struct App;

std::string ReadIniText(App&, const std::string& section, const std::string& key, const std::string& def);
int ReadIniInt(App&, const std::string& section, const std::string& key, int def);
// False when mp4.ini could not be written.
bool WriteIniText(App&, const std::string& section, const std::string& key, const std::string& value);

// mp4.ini gives the value back whole; the refusal names the limit.
bool FitsIniValue(const std::string& value);
std::string TooLongForIni(const std::string& what);

// Says success, or that mp4.ini could not be read or written, naming it.
void ConfirmSave(App&, bool saved, const std::string& success);
