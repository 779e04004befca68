#include "copyengine/placement.h"

namespace {

bool RoomBesideOld(FileSystem& fs, const std::string& source, const std::string& dest) {
    if (dest.size() < 2 || dest[1] != ':') return true;  // no drive to ask: try beside it
    const std::int64_t freeKb = fs.driveFreeKb(dest[0]);
    return freeKb < 0 || fs.fileSize(source) <= freeKb * 1024;
}

}  // namespace

std::string TemporaryName(const std::string& dest) { return dest + ".RuzoriZE3.tmp"; }

Placement PlaceCopy(FileSystem& fs, const std::string& source, const std::string& dest, bool destExists) {
    if (destExists && !RoomBesideOld(fs, source, dest)) return {dest, dest, WriteMode::Visible};
    return {dest, TemporaryName(dest), WriteMode::Hidden};
}

CopyResult SettleCopy(FileSystem& fs, const Placement& place, CopyResult result) {
    if (place.inPlace()) return result;
    if (result.ok && !fs.replaceFile(place.target, place.dest)) result = {false, kDestUnwritableText};
    if (!result.ok) fs.deleteFile(place.target);
    return result;
}
