#pragma once
// mp4.ini: the six options of section MP4配置, and its template.
#include <string>
#include <string_view>

struct App;

extern const std::string_view DefaultIniTemplate;

void LoadOptions(App&);
bool SaveOptions(App&);  // false when mp4.ini could not be written
// Saves the options and the rules the list shows, with one message.
void SaveOptionsAndConfirm(App&);
void ApplyMiniWindowOption(App&);
