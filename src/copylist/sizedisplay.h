#pragma once
// Total size of the copy list against the free space of the target disk.
struct App;

double TotalSizeInM(App&);
double FreeSpaceInM(App&);
bool RefreshSizeDisplay(App&);
