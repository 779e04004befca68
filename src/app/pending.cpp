// Scaffolding: handlers whose subsystems have not landed yet. Each subsystem removes
// its entries from here as it lands; this file goes away with the last of them.
#include <string>
#include <string_view>

#include "app/app.h"
#include "copyengine/copyjob.h"
#include "copyengine/paths.h"
#include "copylist/copylist.h"
#include "copylist/sizedisplay.h"
#include "settings/folder.h"
#include "settings/options.h"
#include "settings/rules.h"

// settings
const std::string_view DefaultIniTemplate;
void LoadOptions(App&) {}
void SaveOptions(App&) {}
void SaveOptionsAndConfirm(App&) {}
void ApplyMiniWindowOption(App&) {}
void LoadRulesIntoList(App&) {}
void RestoreDefaultRules(App&) {}
void ShowSelectedRule(App&) {}
void ApplyRuleEdit(App&) {}
void ChooseTargetFolder(App&) {}
void ChooseTargetFolderAndNotify(App&) {}
