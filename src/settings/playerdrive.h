#pragma once
// A player that turns up under another drive letter than the target root's.
#include <string>

struct App;

// The drive to offer as the new target root: the only removable drive present, and one
// the last look did not see, while the root's drive is missing; 0 when there is none.
char NewPlayerDrive(bool rootDrivePresent, const std::string& removable, const std::string& seenBefore);
// Looks at the removable drives and offers a newly found player as the target root.
// True when the user took it; the root is then set and saved.
bool OfferNewPlayerDrive(App&);
// A volume came or went; no question while a job holds the target root.
void OnDrivesChanged(App&);
