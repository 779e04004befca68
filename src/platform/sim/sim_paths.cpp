#include "platform/sim/sim_paths.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "text/gbk.h"

namespace {

// Bytes up to and including the separator after the share of "\\server\share\...", or
// up to and including the "\" of "\\?\" and "\\.\": ".." never climbs above them.
std::size_t RootSize(const std::string& path) {
    if (path.size() > 1 && path[1] == ':') return 3;
    if (path.size() > 3 && (path[2] == '?' || path[2] == '.') && path[3] == '\\') return 4;
    const std::size_t server = IndexOfGbk(path, '\\', 2);
    const std::size_t share = server == std::string::npos ? server : IndexOfGbk(path, '\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
}

// "C:" of "C:\Users", "\\server\share" of "\\server\share\dir".
std::string DriveOf(const std::string& folder) {
    if (folder.size() > 1 && folder[1] == ':') return folder.substr(0, 2);
    return folder.substr(0, std::min(folder.size(), RootSize(folder) - 1));
}

// The path made absolute against the current folder (or the root of its drive), with "\"
// as its only separator.
std::string Absolute(std::string path, const std::string& currentFolder) {
    std::replace(path.begin(), path.end(), '/', '\\');  // "/" is never a trail byte
    const std::string here = WithFinalSeparator(currentFolder);
    if (path.starts_with("\\\\")) return path;
    if (path.size() > 1 && path[1] == ':') {
        if (path.size() > 2 && path[2] == '\\') return path;
        const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
        const bool sameDrive = here.size() > 1 && here[1] == ':' && upper(here[0]) == upper(path[0]);
        return (sameDrive ? here : path.substr(0, 2) + "\\") + path.substr(2);
    }
    if (path.starts_with("\\")) return DriveOf(here) + path;
    return here + path;
}

}  // namespace

// After the root, each name is taken in turn: "." goes, ".." takes the name before it, a
// name followed by a separator loses one final dot, runs of separators are one. At the
// end final dots and blanks go, down to the root.
std::string ResolvePath(const std::string& path, const std::string& currentFolder) {
    const std::string whole = Absolute(path, currentFolder);
    const std::size_t root = RootSize(whole);
    std::string out = whole.substr(0, root);
    std::vector<std::size_t> starts;  // where each name taken so far begins in out
    for (std::size_t from = root; from <= whole.size();) {
        const std::size_t end = std::min(IndexOfGbk(whole, '\\', from), whole.size());
        std::string name = whole.substr(from, end - from);
        const bool last = end == whole.size();
        from = end + 1;
        if (name == "." || name == "..") {
            if (name == ".." && !starts.empty()) {
                out.resize(starts.back());
                starts.pop_back();
            }
            // A final "." or ".." leaves no separator behind, unless only the root is left.
            if (last && out.size() > root) out.pop_back();
            continue;
        }
        if (name.empty() && !last) continue;
        if (last) {
            out += name;
            break;
        }
        if (EndsWithGbk(name, '.')) name.pop_back();
        starts.push_back(out.size());
        out += name + "\\";
    }
    while (out.size() > root && (EndsWithGbk(out, '.') || EndsWithGbk(out, ' '))) out.pop_back();
    return out;
}
