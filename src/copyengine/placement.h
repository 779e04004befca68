#pragma once
// A copy reaches its real name only whole. A new file is written hidden under its own
// name and shown when complete (and verified); one that replaces a file already there is
// made under a hidden temporary name beside it and takes the old file's place only then,
// so a failed copy never destroys the file it was to replace.
#include <memory>
#include <optional>
#include <string>

#include "copyengine/filecopy.h"

// "01.mp3.RuzoriZE3.tmp": the program's own, and no rule's extension.
std::string TemporaryName(const std::string& dest);

enum class PlaceKind {
    New,        // dest did not exist: written under its own name
    Temporary,  // beside the old file, renamed over it
    InPlace,    // over the old file itself: the drive has no room for both
};

struct Placement {
    std::string dest;
    std::string target;  // where the bytes go
    PlaceKind kind = PlaceKind::New;
    FileInfo old;  // the file to be replaced, as it was
    // Cancel stops every copy but one in place: the old file is already gone.
    bool stoppable() const { return kind != PlaceKind::InPlace; }
    // Only a copy in place is visible while it is written.
    WriteMode mode() const { return kind == PlaceKind::InPlace ? WriteMode::Visible : WriteMode::Hidden; }
};
Placement NewPlacement(const std::string& dest);
// For a dest that holds old: beside it while the drive has room for a copy of bytes, over
// it when the copy fits only in the room the old file frees, none when it fits nowhere.
// Room is counted in the drive's clusters; a drive that cannot be asked has room.
std::optional<Placement> ReplacePlacement(FileSystem&, std::int64_t bytes, const std::string& dest,
                                          const FileInfo& old);
// A copy in place over a read-only old file clears its mark first (the user answered 覆盖);
// false when it cannot.
bool UnlockInPlace(FileSystem&, const Placement&);
// Opens the target of a replacement for writing, unlocked.
std::unique_ptr<File> OpenTarget(FileSystem&, const Placement&);

// After the copy at the target ended with result: a whole copy gets the source's
// last-write time and takes the destination's place, shown; anything else removes what
// was written (also a temporary an unplugged player left behind), and only that: an old
// file that a copy in place never reached stays as it was, marks too. out is the copy still open,
// or none when someone else wrote it.
CopyResult SettleCopy(FileSystem&, const Placement&, std::unique_ptr<File> out, CopyResult result,
                      std::int64_t writeTime);
