#pragma once
// A copy reaches its real name only whole: it is made under a hidden temporary name
// beside the destination and takes the destination's place when complete (and verified),
// so a failed copy never destroys the file it was to replace.
#include <functional>
#include <string>

#include "copyengine/filecopy.h"

// "01.mp3.RuzoriZE3.tmp": the program's own, and no rule's extension.
std::string TemporaryName(const std::string& dest);

// make copies the source to the path it is given. Without room on the drive for the new
// copy beside an existing destination, the copy is made in place.
using MakeCopyFn = std::function<CopyResult(const std::string& target, WriteMode)>;
CopyResult PlaceCopy(FileSystem&, const std::string& source, const std::string& dest, bool destExists,
                     const MakeCopyFn& make);
