#pragma once
// Windows' resolution of a path against the current folder, for the simulated machine:
// the rules GetFullPathNameW follows, except that device names ("C:\m\CON") are left as
// they are, as Windows 11 leaves them.
#include <string>

// currentFolder is whole ("C:\Users\user", "\\server\share\dir"). A drive-relative path
// ("D:x") on another drive than the current folder's is taken from that drive's root.
std::string ResolvePath(const std::string& path, const std::string& currentFolder);
