// One campaign job on the simulator: the world made, the list filled by the program's own
// intake, the job run with its event, and what it left recorded for the checker.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/startup.h"
#include "campaign.h"
#include "copyengine/copyjob.h"
#include "copyengine/room.h"
#include "copylist/copylist.h"
#include "platform/sim/sim_platform.h"
#include "record.h"
#include "text/gbk.h"

namespace {

constexpr std::int64_t kNow = 133'600'000'000'000'000;  // 2024
constexpr std::int64_t kSecond = 10'000'000;
constexpr Ctl kList = Ctl::超级列表框;

std::string Bytes(int fill, int size) {
    std::string s(static_cast<std::size_t>(size), '\0');
    for (int i = 0; i < size; ++i) s[i] = static_cast<char>((fill * 131 + i * 7 + i / 251) & 0xFF);
    return s;
}

bool Writes(FaultOp op) {
    return op != FaultOp::OpenRead && op != FaultOp::Read && op != FaultOp::Close && op != FaultOp::Info &&
           op != FaultOp::Space;
}

// CAMPAIGN_DUMP=1: what a job left, for finding out why a promise broke.
void Dump(const JobRecord& rec, const std::string& broken) {
    std::printf("-- %s\nsummary: %s\n", broken.c_str(), rec.summary.c_str());
    for (const RowRecord& r : rec.rows)
        std::printf("row %s %s image %d->%d %s %s\n", r.path.c_str(), r.subPath.c_str(), r.image, r.imageAfter,
                    r.left ? "left" : "stays", r.reason.c_str());
    for (const Files* files : {&rec.before, &rec.after}) {
        std::printf(files == &rec.before ? "before:\n" : "after:\n");
        for (const auto& [key, f] : *files)
            std::printf("  %s %zu bytes%s%s\n", f.path.c_str(), f.bytes.size(), f.hidden ? " hidden" : "",
                        f.system ? " system" : "");
    }
}

class World {
public:
    explicit World(const CampaignJob& job) : job_(job) {}

    std::string run() {
        build();
        JobRecord first = runJob(true);
        std::string broken = CheckPromises(job_, first);
        if (std::getenv("CAMPAIGN_DUMP")) Dump(first, broken);
        if (!broken.empty() || !job_.twice || sim_.sys.quitCode >= 0) return broken;
        // Again, with nothing changed: after a clean run every copy is found in place.
        const bool clean = job_.event == Event::None &&
                           std::all_of(first.rows.begin(), first.rows.end(), [](const RowRecord& r) { return r.left; });
        const std::size_t asked = sim_.ui.messageBoxes.size();
        writes_ = 0;
        JobRecord second = runJob(false);
        broken = CheckPromises(job_, second);
        if (std::getenv("CAMPAIGN_DUMP")) Dump(second, broken);
        if (!broken.empty()) return "run again: " + broken;
        if (clean && writes_ > 0) return "run again: wrote " + std::to_string(writes_) + " times";
        if (clean && sim_.ui.messageBoxes.size() > asked) return "run again: asked " + sim_.ui.messageBoxes.back().text;
        return "";
    }

private:
    void build() {
        sim_.fs.addDrive('S', 1LL << 40, 1LL << 36);
        sim_.fs.addDrive('K', 64LL << 20, static_cast<std::int64_t>(job_.freeClusters) * job_.clusterBytes);
        sim_.fs.drives['K'].clusterBytes = job_.clusterBytes;
        sim_.fs.drives['K'].format = "FAT32";
        for (const WorldFile& f : job_.files) {
            sim_.fs.addFile(f.path, Bytes(f.fill, f.bytes));
            SimFileSystem::Node* n = sim_.fs.find(f.path);
            n->writeTime = kNow - f.age * kSecond;
            n->readOnly = f.readOnly;
            n->hidden = f.hidden || f.leftover;
            n->system = f.leftover;
        }
        const char* rules[][2] = {{"*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg", "\\Video"},
                                  {"*.mp3;*.wma;*.wav", "\\music"}, {"*.txt", "\\txt"},
                                  {"*.bmp;*.jpg;*.gif", "\\picture"}, {"*.swf", "\\flash"}};
        for (const auto& r : rules)
            sim_.ui.setCell(Ctl::超级列表框_扩展名, sim_.ui.appendRow(Ctl::超级列表框_扩展名, r[0], 0), 1, r[1]);
        sim_.ui.setChecked(Ctl::选择框_规则, job_.rules);
        sim_.ui.setChecked(Ctl::选择框_校验, job_.verify);
        sim_.ui.setChecked(Ctl::选择框_成功后删除源文件, job_.deleteSource);
        sim_.ui.setComboIndex(Ctl::组合框_复制方法, job_.shell ? 1 : 0);
        sim_.ui.setText(Ctl::目录框, "K:\\");
        sim_.fs.fault = [this](FaultOp op, const std::string& path) { return onOperation(op, path); };
        sim_.shell.onShellCopy = [this](const std::string& from, const std::string& to) { return shellCopy(from, to); };
        // The one yes-or-no question: whether to copy only what fits.
        sim_.ui.answerFirst = [this](const SimMessageBox& box) {
            const bool yesNo = (box.style & 0xF) == mb::YesNo;
            if (yesNo && record_) record_->askedRoom = true;
            return !yesNo ? 0 : job_.copyWhatFits ? mb::IdYes : mb::IdNo;
        };
        // A question is a moment for the user's event too.
        sim_.ui.onQuestion = [this] {
            if (counting_ && armed_ && job_.atQuestion && ++ops_ == job_.eventAt) {
                record_->closedQuestion = static_cast<int>(sim_.ui.messageBoxes.size());
                fire();
            }
        };
    }

    // The list filled as a user would, the job run to its end, and what it left.
    JobRecord runJob(bool withEvent) {
        App& app = sim_.app;
        sim_.ui.deleteAllRows(kList);
        sim_.ui.setText(Ctl::标签3, "");  // a job refused at its checks shows no summary
        app.failureReasons.clear();
        std::string paths;
        for (const std::string& p : job_.listed) paths += p + "\r\n";
        AddPaths(app, paths);
        sim_.ui.messageBoxAnswers.clear();
        sim_.ui.overwriteForRest.clear();
        for (int a : job_.answers) {
            sim_.ui.messageBoxAnswers.push_back(a & 1 ? mb::IdOk : mb::IdCancel);
            sim_.ui.overwriteForRest.push_back(a >= 2);
        }
        JobRecord rec;
        record_ = &rec;
        rec.before = snapshot();
        for (int r = 0; r < sim_.ui.rowCount(kList); ++r) {
            RowRecord row;
            row.path = sim_.ui.cell(kList, r, 0);
            row.subPath = sim_.ui.cell(kList, r, 2);
            row.image = sim_.ui.rowImage(kList, r);
            rec.rows.push_back(row);
            rec.listed.insert(Key(rec.rows.back().path));
        }
        for (const auto& [key, f] : rec.before) rec.contents[key].insert(f.bytes);
        const std::size_t asked = sim_.ui.messageBoxes.size();
        armed_ = withEvent && job_.event != Event::None;
        counting_ = true;
        StartCopyJob(app);
        sim_.sys.runPosted();
        counting_ = armed_ = spaceMute_ = false;
        sim_.fs.plugIn('K');
        rec.after = snapshot();
        rec.summary = sim_.ui.text(Ctl::标签3);
        settleRows(rec);
        for (std::size_t q = asked + rec.askedRoom; q < sim_.ui.messageBoxes.size(); ++q) {
            const std::string& text = sim_.ui.messageBoxes[q].text;
            rec.asked.insert(Key(text.substr(0, text.find("\r\n"))));
            if (static_cast<int>(q) == rec.closedQuestion) continue;
            const std::size_t n = q - asked - rec.askedRoom;
            const int answer = n < job_.answers.size() ? job_.answers[n] : 1;
            if (answer & 1) rec.mayReplace.insert(Key(text.substr(0, text.find("\r\n"))));
            rec.replaceAll |= answer == 3;
        }
        record_ = nullptr;
        return rec;
    }

    // Rows that left the list were copied; the others keep their order.
    void settleRows(JobRecord& rec) {
        int r = 0;
        const int rows = sim_.ui.rowCount(kList);
        for (RowRecord& row : rec.rows) {
            if (r < rows && sim_.ui.cell(kList, r, 0) == row.path) {
                row.reason = FailedRowReason(sim_.app, r);
                row.imageAfter = sim_.ui.rowImage(kList, r++);
            } else {
                row.left = true;
            }
        }
    }

    Files snapshot() {
        Files files;
        for (const char* root : {"S:\\", "K:\\"}) walk(root, files);
        return files;
    }
    void walk(const std::string& folder, Files& files) {
        for (const DirEntry& e : sim_.fs.listFolder(folder)) {
            const std::string path = WithFinalSeparator(folder) + e.name;
            if (e.isFolder) {
                walk(path, files);
                continue;
            }
            const SimFileSystem::Node* n = sim_.fs.find(path);
            files[Key(path)] = {path, n->data, n->hidden, n->system, n->readOnly, n->writeTime};
        }
    }

    // Every file operation of the job passes here: the event comes at its own.
    bool onOperation(FaultOp op, const std::string& path) {
        // A write the device damages unseen is a fault only a verifying job can find.
        if (!counting_ || (op == FaultOp::Corrupt && !job_.verify)) return false;
        // Only a file the job opened to write can lose bytes to a copy in place, and only one
        // it had room to finish when it began: the room over it is taken before the event.
        const SimFileSystem::Node* old = op == FaultOp::OpenWrite ? sim_.fs.find(path) : nullptr;
        const JobRecord::Room room = old ? JobRecord::Room{sim_.fs.drives['K'].freeBytes,
                                                           ClusterRound(static_cast<std::int64_t>(old->data.size()), job_.clusterBytes)}
                                         : JobRecord::Room{};
        const bool failed = event(op, path);
        if (old && !failed) record_->openedWithRoom[Key(path)] = room;
        return failed;
    }
    bool event(FaultOp op, const std::string& path) {
        // A drive that failed to tell its free space does not tell it again in this job.
        if (spaceMute_ && op == FaultOp::Space) return true;
        if (!armed_) {
            writes_ += Writes(op) && !path.empty() && (path[0] == 'K' || path[0] == 'k');
            return false;
        }
        // The user's events come while the job runs; a fault, from the checks before it on.
        const bool byUser = job_.event == Event::Cancel || job_.event == Event::Exit;
        const bool afterShell = std::exchange(shellCopied_, false);
        const bool counted = job_.eventOp < 0 || static_cast<int>(op) == job_.eventOp;
        if (job_.atQuestion || (byUser && sim_.app.copyBusy == 0) || !counted || ++ops_ != job_.eventAt) return false;
        record_->shellsMoment = afterShell;
        const bool failed = fire();
        spaceMute_ = failed && op == FaultOp::Space;
        return failed;
    }

    // The job's one event; true when it is the failure of the operation under way.
    bool fire() {
        armed_ = false;
        App& app = sim_.app;
        // A source on the computer changes or goes; the player's own files change only by the job.
        std::vector<std::string> sources;
        for (const std::string& p : job_.listed)
            if (p[0] == 'S' || p[0] == 's') sources.push_back(p);
        const std::string target = sources.empty() ? "" : sources[job_.eventFile % sources.size()];
        switch (job_.event) {
        case Event::Cancel: CancelCopyJob(app); break;
        case Event::Exit: ExitProgram(app); break;
        case Event::Unplug:
            record_->faulted = record_->unplugged = true;
            sim_.fs.unplug('K');
            break;
        case Event::SourceChanged:
            // As another program would: a file that is there, and not while the job reads it.
            if (auto out = !target.empty() && sim_.fs.exists(target) ? sim_.fs.openWrite(target) : nullptr) {
                const std::string now = Bytes(999, static_cast<int>(sim_.fs.contents(target).size()) + 1);
                out->write(now.data(), now.size());
                out->close();
                record_->contents[Key(target)].insert(now);
                record_->changedByEvent = Key(target);
                record_->lastBytes[Key(target)] = now;
            }
            break;
        case Event::SourceDeleted:
            if (!target.empty() && sim_.fs.deleteFile(target)) record_->goneByEvent.insert(Key(target));
            break;
        case Event::Failure: record_->faulted = true; return true;
        case Event::PlayerFills:  // another program takes the room: a few clusters stay free
            record_->filled = true;
            sim_.fs.drives['K'].freeBytes =
                std::min<std::int64_t>(sim_.fs.drives['K'].freeBytes, job_.eventFile % 4 * job_.clusterBytes);
            break;
        case Event::None: break;
        }
        return false;
    }

    // The shell's copy is one operation of the job. As CopyFile does, it removes a new copy
    // it could not finish; a file it wrote over stays as far as it got.
    bool shellCopy(const std::string& from, const std::string& to) {
        if (onOperation(FaultOp::OpenWrite, to)) return false;
        const bool counting = std::exchange(counting_, false);
        const bool existed = sim_.fs.exists(to);
        const FileInfo source = sim_.fs.fileInfo(from);
        auto in = sim_.fs.openRead(from, ReadMode::Cached);
        auto out = in && source.size >= 0 ? sim_.fs.openWrite(to) : nullptr;
        bool copied = false;
        if (out) {
            const std::string data = sim_.fs.contents(from);
            copied = out->write(data.data(), data.size()) && out->setDetails(false, source.writeTime) && out->close();
            out.reset();
            if (!copied && !existed) sim_.fs.deleteFile(to);
        }
        if (copied && (source.attributes & kReadOnlyAttribute)) sim_.fs.setAttributes(to, kReadOnlyAttribute);
        counting_ = counting;
        shellCopied_ = copied;
        return copied;
    }

    const CampaignJob& job_;
    SimPlatform sim_;
    JobRecord* record_ = nullptr;
    bool counting_ = false, armed_ = false, shellCopied_ = false, spaceMute_ = false;
    int ops_ = 0;
    int writes_ = 0;
};

}  // namespace

std::string Key(const std::string& path) { return FoldNameCase(path); }

std::string RunCampaignJob(const CampaignJob& job) { return World(job).run(); }
