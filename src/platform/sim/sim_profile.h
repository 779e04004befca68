#pragma once
// INI files kept in the simulated file system, read and written by the rules of the
// Windows private-profile functions.
#include "platform/profile.h"

class SimFileSystem;

class SimProfile : public Profile {
public:
    explicit SimProfile(SimFileSystem& fs) : fs_(fs) {}
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def, const std::string& path) override;
    int readInt(const std::string& section, const std::string& key, int def,
                const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;

private:
    SimFileSystem& fs_;
};
