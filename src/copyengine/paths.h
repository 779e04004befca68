#pragma once
// Destination paths: GBK-aware path text helpers, the rule lookup, the folder test.
#include <string>

struct App;
class FileSystem;

struct RuleMatch {
    int ruleIndex = 0;          // 0 = no rule, else the 1-based rule row
    std::string subPath = "\\";
};

std::string GetExtension(const std::string& path);
std::string GetFileName(const std::string& path);
std::string GetFolderPart(const std::string& path);
RuleMatch LookupRule(App&, const std::string& path);
std::string BuildDestinationPath(const std::string& root, const std::string& subPath,
                                 const std::string& sourcePath);
bool FolderExists(FileSystem&, const std::string& path);
