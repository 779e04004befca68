#pragma once
// Checks of rule texts typed by hand or read from mp4.ini (GBK byte strings).
#include <string>

// Items "*.ext" joined by ";", each extension a valid part of a file name.
bool IsPatternList(const std::string& patterns);
// Stays below the root it is appended to: empty or "\" (the root itself), or "\" and
// folder names Windows accepts ("." and ".." are none, nor device names), with at most
// one "\" at the end.
bool IsSafeSubPath(const std::string& subPath);
// A name Windows keeps for a device: CON, PRN, AUX, NUL, COM0-9 or LPT0-9, in any case,
// with or without an extension ("nul.txt" is NUL too).
bool IsDeviceName(const std::string& name);
// One of the folders of the sub-path is a device name.
bool NamesDevice(const std::string& subPath);
// The sub-path with the leading "\" it was meant to have; an empty one stays the root.
std::string WithLeadingBackslash(const std::string& subPath);
