#pragma once
// The five extension rules, their list view and editor.
#include <string>

struct App;

void LoadRulesIntoList(App&);
void RestoreDefaultRules(App&);
void ShowSelectedRule(App&);
void ApplyRuleEdit(App&);
bool SaveRules(App&);  // the five rows, silently; false when mp4.ini could not be written
std::string JoinAllPatterns(App&);
