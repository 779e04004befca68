#include "copyengine/placement.h"

std::string TemporaryName(const std::string& dest) { return dest + ".RuzoriZE3.tmp"; }

Placement NewPlacement(const std::string& dest) { return {dest, dest, PlaceKind::New}; }

Placement ReplacePlacement(FileSystem& fs, std::int64_t bytes, const std::string& dest) {
    const bool driveKnown = dest.size() >= 2 && dest[1] == ':';
    const std::int64_t freeKb = driveKnown ? fs.driveFreeKb(dest[0]) : -1;
    if (freeKb >= 0 && bytes > freeKb * 1024) return {dest, dest, PlaceKind::InPlace};
    return {dest, TemporaryName(dest), PlaceKind::Temporary};
}

std::unique_ptr<File> OpenTarget(FileSystem& fs, const Placement& place) {
    return fs.openWrite(place.target, place.mode());
}

CopyResult SettleCopy(FileSystem& fs, const Placement& place, std::unique_ptr<File> out, CopyResult result,
                      std::int64_t writeTime) {
    if (out) {
        // Dated and shown on the open file in one call; a temporary is shown only just
        // before it takes the old file's place.
        const bool shown = !result.ok || out->setDetails(false, writeTime);
        const bool closed = out->close();
        if (result.ok && !(shown && closed)) result = {false, kDestUnwritableText};
    }
    if (result.ok && place.kind == PlaceKind::Temporary && !fs.replaceFile(place.target, place.dest))
        result = {false, kDestUnwritableText};
    if (!result.ok) fs.deleteFile(place.target);  // an incomplete or corrupt copy must not pass for the file
    return result;
}
