#pragma once
// INI files, with the rules of the Windows private-profile functions.
#include <cstddef>
#include <string>

// The longest value a read gives back whole, in bytes; longer ones are cut.
inline constexpr std::size_t kMaxIniValueBytes = 254;

class Profile {
public:
    virtual ~Profile() = default;
    // The value, cut to 254 bytes; def when the file, section or key is missing.
    virtual std::string readString(const std::string& section, const std::string& key,
                                   const std::string& def, const std::string& path) = 0;
    // The number the value starts with, as the platform reads it (text without one
    // reads as 0); def when missing.
    virtual int readInt(const std::string& section, const std::string& key, int def,
                        const std::string& path) = 0;
    // False, the file untouched, when it cannot be written, when it is there but cannot be
    // read (its other keys would be lost), or when a text holds a line break.
    virtual bool writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) = 0;
    // False when the file is there but cannot be read whole (held open by another program,
    // a read error); a missing file reads as empty.
    virtual bool readable(const std::string& path) = 0;
};
