#include "platform/win32/profile_win.h"

#include <windows.h>

#include <cstring>

std::string WinProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& def, const std::string& path) {
    char buffer[255] = {};
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                             sizeof buffer, path.c_str());
    // When a double-byte character does not fit, the count still says 254 but the buffer
    // holds one byte less; the zero after the last whole character ends the value.
    return std::string(buffer, strnlen(buffer, n));
}

int WinProfile::readInt(const std::string& section, const std::string& key, int def,
                        const std::string& path) {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, path.c_str()));
}

bool WinProfile::writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}
