#pragma once
// Choosing the target root folder on the player.
#include <string>

#include "platform/shell.h"

struct App;

// The browser's answer as a folder ending in "\", or "\" when nothing usable was chosen.
std::string NormaliseBrowseOutcome(const BrowseOutcome&);
std::string BrowseForFolder(App&, const std::string& title);
// Shows the root in 目录框, saves it as 复制路径 at once and refreshes the size display.
void SetTargetRoot(App&, const std::string& root);
void ChooseTargetFolder(App&);
void ChooseTargetFolderAndNotify(App&);
