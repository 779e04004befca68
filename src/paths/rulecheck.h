#pragma once
// Checks of rule texts typed by hand or read from mp4.ini (GBK byte strings).
#include <string>

// Items "*.ext" joined by ";", each extension a valid part of a file name.
bool IsPatternList(const std::string& patterns);
// Stays below the root it is appended to: empty or "\" (the root itself), or "\" and
// folder names Windows accepts ("." and ".." are none), with at most one "\" at the end.
bool IsSafeSubPath(const std::string& subPath);
// The sub-path with the leading "\" it was meant to have; an empty one stays the root.
std::string WithLeadingBackslash(const std::string& subPath);
