#pragma once
// Total size of the copy list against the free space of the target disk.
struct App;

double TotalSizeInM(App&);
double FreeSpaceInM(App&);
// The caption and its colour only.
void ShowSizeCaption(App&);
// The caption and a balloon with it (a warning when the files do not fit, or when one is
// too large for a FAT player); true when the files fit the free space.
bool RefreshSizeDisplay(App&);
