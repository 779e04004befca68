#pragma once
// INI files through the system's private-profile functions.
#include "platform/profile.h"

class WinProfile : public Profile {
public:
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def, const std::string& path) override;
    int readInt(const std::string& section, const std::string& key, int def,
                const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;
};
