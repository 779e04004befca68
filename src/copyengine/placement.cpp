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

namespace {

// A read-only old file the user let go is written over, or replaced, without its mark; the
// mark comes back while the old file is still as it was.
bool ReadOnly(const Placement& place) {
    return place.old.attributes != kNoAttributes && (place.old.attributes & kReadOnlyAttribute);
}
bool Unlock(FileSystem& fs, const Placement& place) {
    const std::uint32_t writable = place.old.attributes & ~kReadOnlyAttribute;
    return !ReadOnly(place) || fs.setAttributes(place.dest, writable ? writable : kNormalAttributes);
}
void Relock(FileSystem& fs, const Placement& place) {
    if (ReadOnly(place)) fs.setAttributes(place.dest, place.old.attributes);
}

// What a failed copy leaves to remove: its own file, or what the shell made of the old one.
bool Wrote(FileSystem& fs, const Placement& place, bool opened) {
    if (place.kind != PlaceKind::InPlace || opened) return true;
    const FileInfo now = fs.fileInfo(place.target);
    return now.size != place.old.size || now.writeTime != place.old.writeTime;
}

// The temporary takes the old file's name (the user answered 覆盖, so a read-only old file
// goes too), and is shown there.
bool TakePlace(FileSystem& fs, const Placement& place) {
    Unlock(fs, place);
    if (!fs.replaceFile(place.target, place.dest)) {
        Relock(fs, place);
        return false;
    }
    return fs.setAttributes(place.dest, kNormalAttributes);
}

}  // namespace

bool UnlockInPlace(FileSystem& fs, const Placement& place) {
    return place.kind != PlaceKind::InPlace || Unlock(fs, place);
}

std::unique_ptr<File> OpenTarget(FileSystem& fs, const Placement& place) {
    if (!UnlockInPlace(fs, place)) return nullptr;
    std::unique_ptr<File> out = fs.openWrite(place.target, place.mode());
    if (!out && place.kind == PlaceKind::InPlace) Relock(fs, place);
    return out;
}

CopyResult SettleCopy(FileSystem& fs, const Placement& place, std::unique_ptr<File> out, CopyResult result,
                      std::int64_t writeTime) {
    const bool opened = out != nullptr;
    const bool temporary = place.kind == PlaceKind::Temporary;
    if (out) {
        // Dated, and a new file shown, on the open file in one call; a temporary stays
        // hidden until it has the old file's name.
        const bool dated = !result.ok || out->setDetails(temporary, writeTime);
        const bool closed = out->close();
        if (result.ok && !(dated && closed)) result = {false, kDestUnwritableText};
    }
    if (result.ok && temporary && !TakePlace(fs, place)) result = {false, kDestUnwritableText};
    else if (result.ok && !temporary && !opened && place.mode() == WriteMode::Hidden &&
             !fs.setAttributes(place.target, kNormalAttributes))
        result = {false, kDestUnwritableText};  // the shell's new copy, dated by the shell
    // An incomplete or corrupt copy must not pass for the file.
    if (!result.ok && Wrote(fs, place, opened)) fs.deleteFile(place.target);
    else if (!result.ok && place.kind == PlaceKind::InPlace) Relock(fs, place);
    return result;
}
