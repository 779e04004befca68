#pragma once
// Choosing the target root folder on the player.
#include <string>

#include "platform/shell.h"

struct App;

// The browser's answer as a folder ending in "\", or "\" when nothing usable was chosen.
std::string NormaliseBrowseOutcome(const BrowseOutcome&);
std::string BrowseForFolder(App&, const std::string& title);
void ChooseTargetFolder(App&);
void ChooseTargetFolderAndNotify(App&);
