// The copy job's promises, stated from the outside: the files on the sources and the
// player before and after the job, the rows and the summary.
#include <algorithm>
#include <cstdlib>

#include "copyengine/filecopy.h"
#include "copyengine/room.h"
#include "record.h"
#include "text/gbk.h"

namespace {

bool OnPlayer(const std::string& key) { return key.size() > 2 && key[0] == 'k' && key[1] == ':'; }
bool Leftover(const FileState& f) {
    return (f.hidden && f.system && !f.readOnly) || f.path.ends_with(".RuzoriZE3.tmp");
}
std::string NameOf(const std::string& key) { return key.substr(LastIndexOfGbk(key, '\\') + 1); }
std::string FolderOf(const std::string& key) { return key.substr(0, LastIndexOfGbk(key, '\\') + 1); }

// The folder a row's file goes to, and whether name is its name there or a numbered one.
std::string DestFolder(const RowRecord& row) {
    std::string folder = "K:" + row.subPath;
    return Key(WithFinalSeparator(folder));
}
bool NamedFor(const std::string& name, const std::string& rowName) {
    if (name == rowName) return true;
    const auto dot = LastIndexOfGbk(rowName, '.');
    const std::size_t stem = dot == std::string::npos || dot == 0 ? rowName.size() : dot;
    const std::string head = rowName.substr(0, stem) + " (", tail = ")" + rowName.substr(stem);
    if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail)) return false;
    const std::string k = name.substr(head.size(), name.size() - head.size() - tail.size());
    return std::all_of(k.begin(), k.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class Checker {
public:
    Checker(const CampaignJob& job, const JobRecord& rec) : job_(job), rec_(rec) {}

    std::string check() {
        std::string broken = summary();
        for (const std::string& key : rec_.asked)
            if (broken.empty() && rec_.before.count(key) && Leftover(rec_.before.at(key)))
                broken = "asked about the program's own leftover: " + rec_.before.at(key).path;
        for (const auto& [key, was] : rec_.before)
            if (broken.empty()) broken = rec_.after.count(key) ? kept(key, was) : vanished(key);
        for (const auto& [key, now] : rec_.after)
            if (broken.empty() && OnPlayer(key)) broken = whole(key, now);
        for (const RowRecord& row : rec_.rows)
            if (broken.empty()) broken = told(row);
        for (const RowRecord& row : rec_.rows)
            if (broken.empty()) broken = leftAlone(row);
        if (broken.empty()) broken = stoppedWhenFull();
        return broken.empty() ? writtenOnce() : broken;
    }

private:
    // 4. The summary counts the rows that left the list.
    std::string summary() {
        const long copied = std::count_if(rec_.rows.begin(), rec_.rows.end(), [](const RowRecord& r) { return r.left; });
        if (!rec_.summary.starts_with("共")) return copied ? "rows left the list of a job that did not run" : "";
        const std::string expected =
            "共" + std::to_string(rec_.rows.size()) + "个,成功复制" + std::to_string(copied) + "个,";
        return rec_.summary.starts_with(expected) ? "" : "summary \"" + rec_.summary + "\", rows copied " + std::to_string(copied);
    }

    // 1. A file gone is a listed source whose copy is whole on the player, its row copied.
    std::string vanished(const std::string& key) {
        if (rec_.goneByEvent.count(key) || Leftover(rec_.before.at(key))) return "";
        if (failedInPlace(key)) return "";
        const RowRecord* row = rowOf(key);
        if (!row) return "gone without being listed: " + rec_.before.at(key).path;
        if (!job_.deleteSource) return "source deleted with the option off: " + row->path;
        if (!row->left) return "source deleted, its row still listed: " + row->path;
        // The copy holds the source as it was last: a source changed since its copy stays.
        const auto changed = rec_.lastBytes.find(key);
        const bool whole = changed == rec_.lastBytes.end() ? holdsCopy(*row) : holdsCopy(*row, changed->second);
        return whole ? "" : "source deleted without its whole copy: " + row->path;
    }

    // 2. A file the player held is as it was, or a listed source's after 覆盖, or an old file
    // a copy in place failed over, its source kept.
    std::string kept(const std::string& key, const FileState& was) {
        const FileState& now = rec_.after.at(key);
        // Untouched, it keeps its marks too: a read-only file the job failed to replace stays so
        // (but for an unplug between clearing the mark and the rename, or a copy of the same
        // bytes that took its place and failed to be shown, left marked as unfinished).
        if (OnPlayer(key) && now.bytes == was.bytes && now.writeTime == was.writeTime && was.readOnly &&
            !now.readOnly && !copiedTo(key) && !rec_.unplugged && !Leftover(now))
            return "a file on the player lost its read-only mark: " + now.path;
        if (!OnPlayer(key) || now.bytes == was.bytes || Leftover(was)) return "";
        if (key == rec_.changedByEvent && contentsOf(key).count(now.bytes)) return "";
        if (sourceBytes(now.bytes)) {
            if (!rec_.mayReplace.count(key) && !rec_.replaceAll) return "replaced without 覆盖: " + now.path;
            return inPlaceWithRoom(key, now) ? "written over in place with room for a temporary: " + now.path : "";
        }
        return failedInPlace(key) ? "" : "a file on the player changed: " + now.path;
    }

    // An old file is written over only when its copy could not be made beside it, so that a
    // failed copy leaves the old file whole wherever the player had room.
    bool inPlaceWithRoom(const std::string& key, const FileState& now) const {
        const auto opened = rec_.openedWithRoom.find(key);
        return opened != rec_.openedWithRoom.end() && !rec_.filled &&
               ClusterRound(static_cast<std::int64_t>(now.bytes.size()), job_.clusterBytes) <= opened->second.free;
    }

    // 3. Whatever is visible on the player is whole: no temporary, no part of a file.
    std::string whole(const std::string& key, const FileState& now) {
        const auto was = rec_.before.find(key);
        const bool unchanged = was != rec_.before.end() && was->second.bytes == now.bytes;
        // A copy a fault left behind is marked as the program's own, so the next run makes it
        // anew without asking.
        if (now.hidden) {
            if (unchanged) return "";
            if (!rec_.faulted) return "a hidden file left by a job without a fault: " + now.path;
            return Leftover(now) ? "" : "a leftover not marked as the program's own: " + now.path;
        }
        // The shell's copy is visible as it is made: a fault between its end and the program
        // hiding it leaves it in sight, whole.
        const bool shellsMoment = rec_.shellsMoment && sourceBytes(now.bytes);
        if (now.path.ends_with(".RuzoriZE3.tmp") && !shellsMoment && !unchanged) return "a temporary visible: " + now.path;
        if (unchanged || sourceBytes(now.bytes) || failedInPlace(key)) return "";
        return "an incomplete file visible: " + now.path;
    }

    // 4. A row that left the list has its copy; a row that stays says why, or was not reached.
    // The player's own file at its destination is never copied, nor counted.
    std::string told(const RowRecord& row) {
        if (DestFolder(row) + NameOf(Key(row.path)) == Key(row.path)) {
            for (const auto& [key, now] : rec_.after)
                if (key != Key(row.path) && !now.bytes.empty() && onlyIn(Key(row.path), now.bytes) &&
                    (!rec_.before.count(key) || rec_.before.at(key).bytes != now.bytes))
                    return "the player's own file copied: " + row.path + " to " + now.path;
            if (row.left) return "the player's own file counted as copied: " + row.path;
        }
        if (row.left) return holdsCopy(row) ? "" : "counted as copied without its copy: " + row.path;
        // Rows are left for lack of room only at the user's word, and never with room to spare.
        if (row.reason == kNoRoomText && !(rec_.askedRoom && job_.copyWhatFits))
            return "left for lack of room without 是: " + row.path;
        if (job_.freeClusters == kPlenty && !rec_.unplugged && !rec_.filled && row.reason == kPlayerFullText)
            return "a player with room to spare told as full: " + row.path;
        // With room to spare, nothing but the unplug can have kept a copy from being written.
        if (rec_.unplugged && job_.freeClusters == kPlenty && row.reason == kDestUnwritableText)
            return "an unplugged player told as a write error: " + row.path;
        if (!rec_.faulted && row.reason == kDestUnwritableText) return "a write error without a fault: " + row.path;
        return row.reason.empty() && row.imageAfter != row.image ? "listed without a reason: " + row.path : "";
    }

    // 2. A file at a row's destination that is its source as it was (the same size, dates
    // within FAT's 2 s, shown; the same bytes when verifying) is left alone, unasked. Only
    // the first row for a destination: a later one takes a numbered name.
    std::string leftAlone(const RowRecord& row) {
        const std::string dest = DestFolder(row) + NameOf(Key(row.path));
        const auto first = std::find_if(rec_.rows.begin(), rec_.rows.end(), [&](const RowRecord& r) {
            return DestFolder(r) + NameOf(Key(r.path)) == dest;
        });
        const auto was = rec_.before.find(dest), source = rec_.before.find(Key(row.path));
        if (rec_.faulted || &*first != &row || was == rec_.before.end() || source == rec_.before.end() ||
            dest == source->first || rec_.changedByEvent == source->first || rec_.goneByEvent.count(source->first))
            return "";
        const FileState& old = was->second;
        const std::int64_t apart = std::llabs(old.writeTime - source->second.writeTime);
        const bool same = !old.hidden && old.bytes.size() == source->second.bytes.size() && apart <= 20'000'000 &&
                          (!job_.verify || old.bytes == source->second.bytes);
        return same && rec_.asked.count(dest) ? "asked about a file the same as its source: " + old.path : "";
    }

    // 4. A full player stops the job: later rows that do not fit are not tried one by one.
    std::string stoppedWhenFull() const {
        std::set<std::string> full;  // a file listed twice shares its first row's result
        for (const RowRecord& row : rec_.rows)
            if (row.reason == kPlayerFullText && full.insert(Key(row.path)).second && full.size() == 2)
                return "the job went on at a full player: " + row.path;
        return "";
    }

    // 4. No source is written twice: new copies of any content are no more than its sources.
    std::string writtenOnce() {
        std::map<std::string, int> copies, sources;
        for (const auto& [key, now] : rec_.after) {
            const auto was = rec_.before.find(key);
            if (OnPlayer(key) && !now.hidden && !now.bytes.empty() && sourceBytes(now.bytes) &&
                (was == rec_.before.end() || was->second.bytes != now.bytes))
                ++copies[now.bytes];
        }
        for (const std::string& key : rec_.listed)
            for (const std::string& bytes : contentsOf(key)) ++sources[bytes];
        for (const auto& [bytes, n] : copies)
            if (n > sources[bytes]) return "one source written " + std::to_string(n) + " times";
        return "";
    }

    bool copiedTo(const std::string& key) const {
        return std::any_of(rec_.rows.begin(), rec_.rows.end(), [&](const RowRecord& row) {
            return row.left && DestFolder(row) == FolderOf(key) && NamedFor(NameOf(key), NameOf(Key(row.path)));
        });
    }
    const RowRecord* rowOf(const std::string& key) const {
        const RowRecord* found = nullptr;
        for (const RowRecord& row : rec_.rows)
            if (Key(row.path) == key && (!found || row.left)) found = &row;
        return found;
    }
    const std::set<std::string>& contentsOf(const std::string& key) const {
        static const std::set<std::string> none;
        const auto it = rec_.contents.find(key);
        return it == rec_.contents.end() ? none : it->second;
    }
    // The bytes are this listed file's, and no other listed file's.
    bool onlyIn(const std::string& key, const std::string& bytes) const {
        return contentsOf(key).count(bytes) && std::none_of(rec_.listed.begin(), rec_.listed.end(), [&](const std::string& other) {
                   return other != key && contentsOf(other).count(bytes);
               });
    }
    bool sourceBytes(const std::string& bytes) const {
        return std::any_of(rec_.listed.begin(), rec_.listed.end(),
                           [&](const std::string& key) { return contentsOf(key).count(bytes) > 0; });
    }
    // A visible file at the row's destination, or a numbered name beside it, holds the row's
    // source as it was or as it became.
    bool holdsCopy(const RowRecord& row) const {
        const std::set<std::string>& source = contentsOf(Key(row.path));
        return std::any_of(source.begin(), source.end(), [&](const std::string& bytes) { return holdsCopy(row, bytes); });
    }
    bool holdsCopy(const RowRecord& row, const std::string& bytes) const {
        const std::string folder = DestFolder(row), name = NameOf(Key(row.path));
        return std::any_of(rec_.after.begin(), rec_.after.end(), [&](const auto& entry) {
            const auto& [key, now] = entry;
            return !now.hidden && FolderOf(key) == folder && NamedFor(NameOf(key), name) && now.bytes == bytes;
        });
    }
    // The one exception: a copy in place that failed, its row still listed with its reason
    // and its source still there. It began only where it fitted, so only a fault, another
    // program taking the room or changing the source can fail it; and it reached the old
    // file only by opening it.
    bool failedInPlace(const std::string& key) const {
        const auto opened = rec_.openedWithRoom.find(key);
        return opened != rec_.openedWithRoom.end() &&
               std::any_of(rec_.rows.begin(), rec_.rows.end(), [&](const RowRecord& row) {
                   const auto& source = contentsOf(Key(row.path));
                   const bool failable = rec_.faulted || rec_.filled || rec_.changedByEvent == Key(row.path);
                   return failable && !row.left && !row.reason.empty() && DestFolder(row) == FolderOf(key) &&
                          NamedFor(NameOf(key), NameOf(Key(row.path))) && rec_.after.count(Key(row.path)) &&
                          std::all_of(source.begin(), source.end(), [&](const std::string& bytes) {
                              return ClusterRound(static_cast<std::int64_t>(bytes.size()), job_.clusterBytes) <=
                                     opened->second.free + opened->second.old;
                          });
               });
    }

    const CampaignJob& job_;
    const JobRecord& rec_;
};

}  // namespace

std::string CheckPromises(const CampaignJob& job, const JobRecord& rec) { return Checker(job, rec).check(); }
