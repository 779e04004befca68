#pragma once
// The copy list: the rows of 超级列表框 are the queue of files to copy.
#include <cstdint>
#include <string>

struct App;

void AddFilesByDialog(App&);
void AddPaths(App&, const std::string& text);  // paths separated by "\r\n"
// Adds them once the window event in hand has been handled, so a sender is not kept waiting.
void AddPathsLater(App&, const std::string& text);
bool AddFileEntry(App&, const std::string& path);
// A file whose size its folder's listing gave: no second look at the file.
bool AddListedFile(App&, const std::string& path, std::int64_t bytes);
double FileSizeInM(App&, const std::string& path);
void MoveEntryUp(App&);
void MoveEntryDown(App&);
void RemoveCurrentEntry(App&);
void RemoveAllEntries(App&);
