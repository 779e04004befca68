#pragma once
// Tips over the copy list: resting the mouse on a failed row shows why its file did not
// arrive. The text is asked for when the tip shows.
#include <windows.h>

void AttachRowTips(HWND owner, HWND list);
// Answers the tip's TTN_GETDISPINFO (A or W); false for other notifications.
bool AnswerRowTip(NMHDR& header);
