#include "copyengine/placement.h"

namespace {

bool RoomBesideOld(FileSystem& fs, const std::string& source, const std::string& dest) {
    if (dest.size() < 2 || dest[1] != ':') return true;  // no drive to ask: try beside it
    const std::int64_t freeKb = fs.driveFreeKb(dest[0]);
    return freeKb < 0 || fs.fileSize(source) <= freeKb * 1024;
}

}  // namespace

std::string TemporaryName(const std::string& dest) { return dest + ".RuzoriZE3.tmp"; }

CopyResult PlaceCopy(FileSystem& fs, const std::string& source, const std::string& dest, bool destExists,
                     const MakeCopyFn& make) {
    if (destExists && !RoomBesideOld(fs, source, dest)) return make(dest, WriteMode::Visible);
    const std::string temp = TemporaryName(dest);
    CopyResult result = make(temp, WriteMode::Hidden);
    if (result.ok && !fs.replaceFile(temp, dest)) result = {false, kDestUnwritableText};
    if (!result.ok) {
        fs.deleteFile(temp);  // also a temporary an unplugged player left behind
        return result;
    }
    fs.setAttributes(dest, kNormalAttributes);
    return result;
}
