#pragma once
// The overwrite question as a task dialog (common controls 6), or as the message box
// where the task dialog is missing.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/ui.h"

using TaskDialogFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// TaskDialogIndirect of the comctl32 this process runs with; null for version 5.
TaskDialogFunction FindTaskDialog();
// Without an owner (asked off the main thread) the question stays above other windows.
// It opens in the middle of centreOn, or of that window's screen while it is hidden or
// minimised (in the tray).
OverwriteAnswer AskOverwrite(TaskDialogFunction, HWND owner, HWND centreOn, const std::string& text,
                             const std::string& title, const std::string& details);
// From any thread: the question up now, if any, answers 跳过.
void CloseOverwriteQuestion();
