#pragma once
// The copy list: the rows of 超级列表框 are the queue of files to copy.
#include <string>

struct App;

void AddFilesByDialog(App&);
void AddPaths(App&, const std::string& text);  // paths separated by "\r\n"
bool AddFileEntry(App&, const std::string& path);
double FileSizeInM(App&, const std::string& path);
void MoveEntryUp(App&);
void MoveEntryDown(App&);
void RemoveCurrentEntry(App&);
void RemoveAllEntries(App&);
// Both drop targets deliver here, with the dropped paths joined by "\r\n".
void OnFilesDropped(App&, const std::string& text);
// Paths from the command line or a second start, added as a drop once the window
// event in hand has been handled, so the sender is not kept waiting.
void OnPathsHandedOver(App&, const std::string& text);
