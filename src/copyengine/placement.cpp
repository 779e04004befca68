#include "copyengine/placement.h"

std::string TemporaryName(const std::string& dest) { return dest + ".RuzoriZE3.tmp"; }

Placement NewPlacement(const std::string& dest) { return {dest, dest, PlaceKind::New, {}}; }

std::optional<Placement> ReplacePlacement(FileSystem& fs, std::int64_t bytes, const std::string& dest,
                                          const FileInfo& old) {
    const bool driveKnown = dest.size() >= 2 && dest[1] == ':';
    const DriveSpace space = driveKnown ? fs.driveSpace(dest[0]) : DriveSpace{};
    const std::int64_t needed = ClusterRound(bytes, space.clusterBytes);
    if (space.freeBytes < 0 || needed <= space.freeBytes) return Placement{dest, TemporaryName(dest), PlaceKind::Temporary, old};
    if (needed <= space.freeBytes + ClusterRound(old.size, space.clusterBytes))
        return Placement{dest, dest, PlaceKind::InPlace, old};
    return std::nullopt;
}

std::unique_ptr<File> OpenTarget(FileSystem& fs, const Placement& place) {
    return fs.openWrite(place.target, place.mode());
}

namespace {

// What a failed copy leaves to remove: its own file, or what the shell made of the old one.
bool Wrote(FileSystem& fs, const Placement& place, bool opened) {
    if (place.kind != PlaceKind::InPlace || opened) return true;
    const FileInfo now = fs.fileInfo(place.target);
    return now.size != place.old.size || now.writeTime != place.old.writeTime;
}

}  // namespace

CopyResult SettleCopy(FileSystem& fs, const Placement& place, std::unique_ptr<File> out, CopyResult result,
                      std::int64_t writeTime) {
    const bool opened = out != nullptr;
    if (out) {
        // Dated and shown on the open file in one call; a temporary is shown only just
        // before it takes the old file's place.
        const bool shown = !result.ok || out->setDetails(false, writeTime);
        const bool closed = out->close();
        if (result.ok && !(shown && closed)) result = {false, kDestUnwritableText};
    }
    if (result.ok && place.kind == PlaceKind::Temporary && !fs.replaceFile(place.target, place.dest))
        result = {false, kDestUnwritableText};
    // An incomplete or corrupt copy must not pass for the file.
    if (!result.ok && Wrote(fs, place, opened)) fs.deleteFile(place.target);
    return result;
}
