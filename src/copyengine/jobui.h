#pragma once
// What the copy job shows on the main thread: busy and idle states, status texts.
#include <cstdint>
#include <string>

struct App;

// The status label and an information (1), warning (2) or error (3) balloon.
void ShowJobStatus(App&, const std::string& text, int kind);
void ShowIdlePictures(App&);
// Running: controls locked, busy pictures, the overall bar from 0 to rows.
void EnterBusyState(App&, int rows);
// "总进度" with percent, rate and time left, on 标签2 and as the tray tip.
void ShowProgressLine(App&);
// What the summary balloon adds to the summary line.
struct JobTally {
    int unchanged = 0;  // rows the player already held, not written again
    std::int64_t unchangedBytes = 0;
    int noRoom = 0;  // rows left for lack of room
};
// Back to idle: the copied rows leave the list, failed rows show why, the summary (if
// any) is shown with the tally; then App::jobEnded.
void EndCopyJob(App&, const std::string& summary, const JobTally& = {});
