#pragma once
// The five extension rules, their list view and editor.
#include <string>

struct App;

void LoadRulesIntoList(App&);
void RestoreDefaultRules(App&);
void ShowSelectedRule(App&);
void ApplyRuleEdit(App&);
void SaveRules(App&);
std::string JoinAllPatterns(App&);
