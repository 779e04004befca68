#pragma once
// INI files read and written byte for byte by the program itself, by the rules of the
// Windows private-profile functions, so GBK keys and values survive whatever the
// system's code page.
#include <optional>

#include "platform/profile.h"

class FileSystem;

class IniProfile : public Profile {
public:
    explicit IniProfile(FileSystem& fs) : fs_(fs) {}
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def, const std::string& path) override;
    int readInt(const std::string& section, const std::string& key, int def,
                const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;
    bool readable(const std::string& path) override;

private:
    std::optional<std::string> contents(const std::string& path);
    bool replaceWhole(const std::string& path, const std::string& text);

    FileSystem& fs_;
};
