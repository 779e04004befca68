// libFuzzer harness, run by hand as the README says: for any rule sub-path and listed path,
// as given and as the intake resolves it, a destination lies right inside the rule's
// folder under the root, by the system's reading of paths.
#include <cstdint>
#include <string>

#include "paths/paths.h"
#include "platform/sim/sim_paths.h"
#include "text/gbk.h"

static void Check(const std::string& subPath, const std::string& source) {
    const std::string dest = BuildDestinationPath("K:\\player", subPath, source);
    const std::string folder = WithFinalSeparator(ResolvePath("K:\\player" + subPath, "C:\\"));
    if (!dest.empty() && (ResolvePath(dest, "C:\\") != folder + GetFileName(source) || !NameRefusal(source).empty()))
        __builtin_trap();
}

// The input: the sub-path, a line feed, the path as given.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size), subPath = text.substr(0, text.find('\n'));
    if (subPath.size() == text.size()) return 0;
    Check(subPath, text.substr(subPath.size() + 1));
    Check(subPath, ResolvePath(text.substr(subPath.size() + 1), "C:\\m"));
    return 0;
}
