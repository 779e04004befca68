#pragma once
// The Send To entry: a shortcut to this program in the user's Send To folder. Its state
// is what the folder holds, never a setting of mp4.ini.

struct App;

// Ticks 选择框_发送到 when the shortcut is there and leads to this program.
void ShowSendToEntry(App&);
// The check box's click: creates (or repairs) or removes the shortcut, then shows what is there.
void ApplySendToOption(App&);
