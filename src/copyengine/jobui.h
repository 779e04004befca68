#pragma once
// What the copy job shows on the main thread: busy and idle states, status texts.
#include <string>

struct App;

// The status label and an information (1), warning (2) or error (3) balloon.
void ShowJobStatus(App&, const std::string& text, int kind);
void ShowIdlePictures(App&);
// Running: controls locked, busy pictures, the overall bar from 0 to rows.
void EnterBusyState(App&, int rows);
// "总进度" with percent, rate and time left, on 标签2 and as the tray tip.
void ShowProgressLine(App&);
// Back to idle: the copied rows leave the list, failed rows show why, the summary (if
// any) is shown, with how many files the player already held; then App::jobEnded.
void EndCopyJob(App&, const std::string& summary, int unchanged = 0);
