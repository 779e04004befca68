#include "copyengine/existing.h"

#include <cstdio>

#include "app/app.h"

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // file times count 100 ns
constexpr std::int64_t kFatTimeStep = 2 * kTicksPerSecond;

// "2024-05-01 12:00" of a file time.
std::string DateText(std::int64_t fileTime) {
    const std::int64_t minutes = fileTime / (60 * kTicksPerSecond);
    // Days counted from 0000-03-01, so that a leap day falls last in its year.
    const std::int64_t days = minutes / 1440 + 584694;
    const std::int64_t era = days / 146097, dayOfEra = days % 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day),
                  static_cast<long long>(minutes / 60 % 24), static_cast<long long>(minutes % 60));
    return text;
}

// Bytes under 1 KB, then KB and MB with two decimals, so that small files 10 bytes apart
// read apart; a size that would read "1024.00 KB" reads "1.00 MB".
std::string SizeText(std::int64_t size) {
    if (size < 1024) return std::to_string(size) + " 字节";
    const double kilobytes = static_cast<double>(size) / 1024.0;
    char text[32];
    if (kilobytes < 1023.995) std::snprintf(text, sizeof text, "%.2f KB", kilobytes);
    else std::snprintf(text, sizeof text, "%.2f MB", kilobytes / 1024.0);
    return text;
}

std::string FileLine(App& app, const char* label, std::int64_t size, std::int64_t writeTime) {
    std::string line = label + SizeText(size);
    if (writeTime > 0) line += "，" + DateText(app.sys.localFileTime(writeTime));
    return line;
}

}  // namespace

bool SameFile(FileSystem& fs, const std::string& source, const std::string& sourceIdentity, const std::string& dest,
              const FileInfo& destInfo) {
    if (!sourceIdentity.empty() && !destInfo.identity.empty()) return sourceIdentity == destInfo.identity;
    return fs.nameKey(source) == fs.nameKey(dest);
}

bool IsUnfinishedCopy(const FileInfo& info) {
    constexpr std::uint32_t kMarks = kHiddenAttribute | kSystemAttribute;
    return info.attributes != kNoAttributes && (info.attributes & (kMarks | kReadOnlyAttribute)) == kMarks;
}

bool LooksIdentical(std::int64_t size, std::int64_t writeTime, const FileInfo& dest) {
    const std::int64_t apart = writeTime > dest.writeTime ? writeTime - dest.writeTime : dest.writeTime - writeTime;
    const bool hidden = dest.attributes != kNoAttributes && (dest.attributes & kHiddenAttribute);
    return !hidden && size >= 0 && size == dest.size && writeTime > 0 && dest.writeTime > 0 && apart <= kFatTimeStep;
}

std::string OverwriteDetails(App& app, std::int64_t size, std::int64_t writeTime, const FileInfo& dest) {
    return FileLine(app, "源文件：", size, writeTime) + "\r\n" + FileLine(app, "播放器上：", dest.size, dest.writeTime);
}
