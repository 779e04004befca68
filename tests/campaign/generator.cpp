// The campaign's jobs, made up by RapidCheck from one seed, shrunk when one breaks a promise.
// Built with UTF-8 literals (RapidCheck's headers hold characters GBK has not): the paths
// become GBK, as the program keeps them, when a job is made.
#include <iconv.h>

#include <rapidcheck.h>

#include <algorithm>
#include <numeric>
#include <sstream>

#include "campaign.h"
#include "platform/sim/sim_files.h"

namespace {

// A small world, so that names collide often: one source listed twice or under another
// case, equal names in two folders (equal only without case too), the player's own files.
const char* const kSources[] = {"S:\\a.mp3",          "S:\\CD1\\01.mp3", "S:\\CD2\\01.mp3", "S:\\CD1\\Песня.mp3",
                                "S:\\CD2\\песня.mp3", "S:\\v.avi",       "S:\\t.txt",       "S:\\x.bin"};
struct PlayerName {
    const char* path;
    int source;  // the source whose copy it may be
};
const PlayerName kPlayer[] = {{"K:\\music\\a.mp3", 0},      {"K:\\a.mp3", 0},         {"K:\\music\\01.mp3", 1},
                              {"K:\\music\\01 (2).mp3", 2}, {"K:\\music\\Песня.mp3", 3}, {"K:\\music\\ПЕСНЯ (2).mp3", 4},
                              {"K:\\Video\\v.avi", 5},      {"K:\\txt\\t.txt", 6},     {"K:\\x.bin", 7},
                              {"K:\\old\\a.mp3", 0},        {"K:\\old\\01.mp3", 1}};
const char* const kOtherNames[] = {"s:\\A.MP3", "S:\\cd1\\01.MP3", "k:\\MUSIC\\a.mp3"};

std::string Convert(const char* from, const char* to, const std::string& text) {
    std::string out(text.size() * 2, '\0');
    iconv_t cd = iconv_open(to, from);
    char* in = const_cast<char*>(text.data());
    char* put = out.data();
    std::size_t inLeft = text.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &put, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}
std::string Gbk(const char* utf8) { return Convert("UTF-8", "GBK", utf8); }

enum class Likeness { Same, OtherDate, OtherSize, OtherBytes, Unrelated };

// Every choice is drawn whatever the earlier ones were, so that a job shrinks one choice
// at a time. Dates keep files of other contents apart by more than FAT's 2 s: without
// verification the same size and date make the same file.
WorldFile PlayerFile(const PlayerName& name, const std::vector<WorldFile>& files, bool verify) {
    const Likeness picked = *rc::gen::element(Likeness::Same, Likeness::OtherDate, Likeness::OtherSize,
                                              Likeness::OtherBytes, Likeness::Unrelated);
    const int later = *rc::gen::inRange(0, 3), muchLater = *rc::gen::inRange(3, 40);
    const int otherBytes = *rc::gen::inRange(0, 5000);
    const bool readOnly = *rc::gen::weightedElement<bool>({{5, false}, {1, true}});
    const bool hidden = *rc::gen::weightedElement<bool>({{11, false}, {1, true}});
    const bool leftover = *rc::gen::weightedElement<bool>({{7, false}, {1, true}});
    const int kept = *rc::gen::inRange(0, 100);  // percent of a leftover's bytes
    const auto source = std::find_if(files.begin(), files.end(),
                                     [&](const WorldFile& s) { return s.path == Gbk(kSources[name.source]); });
    const Likeness like = source == files.end() ? Likeness::Unrelated
                          : picked == Likeness::OtherBytes && !verify ? Likeness::Same
                                                                      : picked;
    WorldFile f = like == Likeness::Unrelated ? WorldFile{"", otherBytes, 50, 10000 + otherBytes} : *source;
    f.path = Gbk(name.path);
    f.age += like == Likeness::Same ? later : like == Likeness::OtherDate ? muchLater : 0;
    if (like == Likeness::OtherSize) f.bytes = otherBytes == f.bytes ? f.bytes + 1 : otherBytes;
    if (like == Likeness::OtherBytes) f.fill += 100;
    f.readOnly = readOnly;
    f.hidden = hidden;
    // What an unplugged player kept of a copy: its first bytes, hidden and system. Marked
    // read-only too, it is a file of the user's that only looks so.
    if (source != files.end() && leftover) {
        f = *source;
        f.path = Gbk(name.path);
        f.bytes = f.bytes * kept / 100;
        f.leftover = true;
        f.readOnly = readOnly;
    }
    return f;
}

CampaignJob GenerateJob() {
    CampaignJob job;
    job.verify = *rc::gen::arbitrary<bool>();
    job.shell = *rc::gen::weightedElement<bool>({{3, false}, {1, true}});
    job.deleteSource = *rc::gen::arbitrary<bool>();
    job.rules = *rc::gen::weightedElement<bool>({{1, false}, {4, true}});
    for (int s = 0; s < static_cast<int>(std::size(kSources)); ++s) {
        const bool present = *rc::gen::weightedElement<bool>({{1, false}, {8, true}});
        const int bytes = *rc::gen::weightedOneOf<int>(
            {{1, rc::gen::just(0)}, {8, rc::gen::inRange(1, 5000)}, {1, rc::gen::just(260 << 10)}});
        const int age = 100 * (s + 1) + *rc::gen::inRange(0, 50);
        if (present) job.files.push_back({Gbk(kSources[s]), bytes, s + 1, age});
    }
    for (const PlayerName& name : kPlayer) {
        const bool present = *rc::gen::weightedElement<bool>({{5, false}, {4, true}});
        const WorldFile f = PlayerFile(name, job.files, job.verify);
        if (present) job.files.push_back(f);
    }
    // Picks drawn as elements: a range would shrink with RapidCheck's size, and a short list
    // would name only the first few.
    std::vector<int> names(std::size(kSources) + std::size(kPlayer) + std::size(kOtherNames));
    std::iota(names.begin(), names.end(), 0);
    const int listed = *rc::gen::element(1, 2, 3, 4, 5, 6, 7, 8);
    for (int pick : *rc::gen::container<std::vector<int>>(listed, rc::gen::elementOf(names))) {
        const int p = pick - static_cast<int>(std::size(kSources));
        const int o = p - static_cast<int>(std::size(kPlayer));
        job.listed.push_back(Gbk(p < 0 ? kSources[pick] : o < 0 ? kPlayer[p].path : kOtherNames[o]));
    }
    job.clusterBytes = *rc::gen::weightedElement<int>({{1, 4096}, {2, 512}, {1, 32768}});
    // Room to spare, or what the listed files' bytes need and a few clusters: each small
    // file takes a cluster of its own, so the player fills before the list is through.
    // Or only what it adds beyond the player's files it may replace, so that a replacement
    // meets a drive with no room for a temporary.
    const bool beyondReplaced = *rc::gen::weightedElement<bool>({{1, false}, {2, true}});
    int bytes = 0;
    for (const std::string& path : job.listed)
        for (const WorldFile& f : job.files)
            if (f.path == path) bytes += f.bytes;
    for (const PlayerName& name : kPlayer)
        for (const WorldFile& f : job.files)
            if (beyondReplaced && f.path == Gbk(name.path) &&
                std::count(job.listed.begin(), job.listed.end(), Gbk(kSources[name.source])))
                bytes -= f.bytes;
    // Or less than that: the job may copy only what fits.
    const int spare = *rc::gen::inRange(-2, 3);
    const bool plenty = *rc::gen::weightedElement<bool>({{1, true}, {2, false}});
    job.freeClusters = plenty ? kPlenty : std::max((std::max(bytes, 0) + job.clusterBytes - 1) / job.clusterBytes + spare, 0);
    job.copyWhatFits = *rc::gen::weightedElement<bool>({{4, true}, {1, false}});
    job.answers = *rc::gen::container<std::vector<int>>(*rc::gen::element(0, 1, 2, 3, 4), rc::gen::element(0, 1, 2, 3));
    job.event = *rc::gen::weightedElement<Event>({{4, Event::None}, {1, Event::Cancel}, {1, Event::Exit},
                                                   {1, Event::Unplug}, {1, Event::SourceChanged},
                                                   {1, Event::SourceDeleted}, {3, Event::Failure},
                                                   {3, Event::PlayerFills}});
    const int at = *rc::gen::inRange(1, 120), file = *rc::gen::inRange(0, 20);
    // A failure of the k-th operation of one kind reaches the rarer ones: the open of an old
    // file written in place, the rename over it, the deletion of a source.
    const int op = *rc::gen::weightedElement<int>({{3, -1}, {2, static_cast<int>(FaultOp::OpenWrite)},
                                                   {1, static_cast<int>(FaultOp::Write)},
                                                   {1, static_cast<int>(FaultOp::Replace)},
                                                   {1, static_cast<int>(FaultOp::Delete)},
                                                   {1, static_cast<int>(FaultOp::Info)},
                                                   {1, static_cast<int>(FaultOp::Space)},
                                                   {1, static_cast<int>(FaultOp::Close)},
                                                   {1, static_cast<int>(FaultOp::Attributes)}});
    const bool atQuestion = *rc::gen::weightedElement<bool>({{2, false}, {1, true}});
    const bool byUser = job.event == Event::Cancel || job.event == Event::Exit || job.event == Event::Unplug;
    if (job.event != Event::None) job.eventAt = at, job.eventFile = file;
    // Free space is asked at 复制, before each row once the player is full, and once or twice
    // per replacement: the second question of a later row comes well after the third.
    const int nth = op == static_cast<int>(FaultOp::Space) ? 8 : 3;
    if (job.event == Event::Failure && op >= 0) job.eventOp = op, job.eventAt = 1 + at % nth;
    if (byUser && atQuestion) job.atQuestion = true, job.eventAt = 1 + at % 3;
    job.twice = *rc::gen::weightedElement<bool>({{2, false}, {1, true}});
    return job;
}

// A GBK path as a literal of the UTF-8 test sources it is pasted into.
std::string Literal(const std::string& gbk) {
    std::string quoted = "\"";
    for (char c : Convert("GBK", "UTF-8", gbk)) quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return quoted + "\"";
}

const char* EventName(Event e) {
    const char* const names[] = {"None",          "Cancel",        "Exit",    "Unplug",
                                 "SourceChanged", "SourceDeleted", "Failure", "PlayerFills"};
    return names[static_cast<int>(e)];
}

}  // namespace

std::string JobAsCode(const CampaignJob& job) {
    std::ostringstream out;
    out << "    CampaignJob job;\n    job.files = {";
    for (const WorldFile& f : job.files) {
        out << "\n        {" << Literal(f.path) << ", " << f.bytes << ", " << f.fill << ", " << f.age;
        if (f.readOnly || f.hidden || f.leftover)
            out << ", " << std::boolalpha << f.readOnly << ", " << f.hidden << ", " << f.leftover;
        out << "},";
    }
    out << "};\n    job.listed = {";
    for (const std::string& p : job.listed) out << Literal(p) << ", ";
    out << "};\n    job.clusterBytes = " << job.clusterBytes << ";\n    job.freeClusters = " << job.freeClusters
        << ";\n" << std::boolalpha << "    job.verify = " << job.verify << ";\n    job.shell = " << job.shell
        << ";\n    job.deleteSource = " << job.deleteSource << ";\n    job.rules = " << job.rules
        << ";\n    job.copyWhatFits = " << job.copyWhatFits << ";\n    job.answers = {";
    for (int a : job.answers) out << a << ", ";
    out << "};\n    job.event = Event::" << EventName(job.event) << ";\n    job.eventAt = " << job.eventAt
        << ";\n    job.eventOp = " << job.eventOp
        << ";\n    job.atQuestion = " << job.atQuestion
        << ";\n    job.eventFile = " << job.eventFile << ";\n    job.twice = " << job.twice
        << ";\n    EXPECT_EQ(RunCampaignJob(job), \"\");\n";
    return out.str();
}

CampaignOutcome RunCampaign(std::uint64_t seed, int jobs) {
    CampaignOutcome outcome;
    for (std::uint64_t round = 0; outcome.jobs < jobs; ++round) {
        rc::detail::TestParams params;
        params.seed = seed + round;
        params.maxSuccess = std::min(500, jobs - outcome.jobs);
        CampaignJob smallest;
        std::string broken;
        const rc::detail::TestResult result = rc::detail::checkProperty(
            rc::detail::toProperty([&] {
                const CampaignJob job = *rc::gen::exec(GenerateJob);
                const std::string why = RunCampaignJob(job);
                if (!why.empty()) smallest = job, broken = why;  // the last to fail is the smallest
                RC_ASSERT(why.empty());
            }),
            rc::detail::TestMetadata{}, params);
        rc::detail::FailureResult failure;
        if (!result.match(failure)) {
            outcome.jobs += params.maxSuccess;
            continue;
        }
        outcome.jobs += failure.numSuccess + 1;
        ++outcome.failed;
        outcome.report += "job " + std::to_string(outcome.jobs) + " (round seed " + std::to_string(params.seed) +
                          "): " + broken + "\n" + JobAsCode(smallest);
    }
    return outcome;
}
