// libFuzzer harness of the destination builder, with and without the intake's resolution:
// whatever a rule's sub-path and a listed path hold, a destination lies right inside the
// rule's folder under the root, by the system's own reading of paths. Run as the README
// says; not part of the test tiers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "paths/paths.h"
#include "platform/sim/sim_paths.h"
#include "text/gbk.h"

namespace {

const std::string kRoot = "K:\\player";

void Check(const std::string& subPath, const std::string& source) {
    const std::string dest = BuildDestinationPath(kRoot, subPath, source);
    if (dest.empty()) return;
    const std::string folder = WithFinalSeparator(ResolvePath(kRoot + subPath, "C:\\"));
    if (ResolvePath(dest, "C:\\") != folder + GetFileName(dest) || GetFileName(dest) != GetFileName(source) ||
        !NameRefusal(source).empty())
        __builtin_trap();
}

}  // namespace

// The input is the sub-path, a line feed, then the path as given.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = text.find('\n');
    if (cut == std::string::npos) return 0;
    const std::string subPath = text.substr(0, cut), given = text.substr(cut + 1);
    Check(subPath, given);
    Check(subPath, ResolvePath(given, "C:\\m"));
    return 0;
}
