#pragma once
// A copy reaches its real name only whole: it is made under a hidden temporary name
// beside the destination and takes the destination's place when complete (and verified),
// so a failed copy never destroys the file it was to replace.
#include <string>

#include "copyengine/filecopy.h"

// "01.mp3.RuzoriZE3.tmp": the program's own, and no rule's extension.
std::string TemporaryName(const std::string& dest);

// Where one copy is made: beside the destination, or in its place when the drive has no
// room for the new copy beside an existing one.
struct Placement {
    std::string dest;
    std::string target;  // the temporary, or dest itself
    WriteMode mode = WriteMode::Hidden;
    bool inPlace() const { return target == dest; }
};
Placement PlaceCopy(FileSystem&, const std::string& source, const std::string& dest, bool destExists);

// After the copy at the target ended with result: a whole copy takes the destination's
// place; anything else leaves the destination as it was and removes the temporary (also
// one an unplugged player left behind).
CopyResult SettleCopy(FileSystem&, const Placement&, CopyResult result);
