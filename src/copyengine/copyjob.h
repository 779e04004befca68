#pragma once
// The copy job: walks the copy list and copies each file to the player.
#include <string>

struct App;

void StartCopyJob(App&);
void CancelCopyJob(App&);
// Why the file of a row marked failed by the last job did not arrive; "" for other rows.
std::string FailedRowReason(App&, int row);
void SetBusyUi(App&, bool busy);
// Exit while a job runs: cancel it and end the program once the current file is done.
// Returns true when the exit has to wait for the job.
bool DeferExitForCopyJob(App&);
