// The copy job on real files against cp in the same run: a 1 GiB file, 1,000 files of
// 1 MiB and 10,000 files of 4 KiB; with verification against cp followed by xxh128sum
// of both sides, and against cp, a flush and a read past the cache of each copy and
// xxh128sum; the verified 1 GiB copy against the unverified one (at most 1.5x); the peak
// memory of a process copying a 4 GiB file.
// Each job and its baseline run back to back, in alternating order, several rounds; the
// limits apply to the median of the rounds' ratios. On a shared virtual machine the same
// cp can take 0.2 s or 2 s (memory freed a moment before may have gone back to the host
// and be slow to touch again), so only runs close together are compared.
#include <fcntl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "copyengine/copyjob.h"
#include "platform/sim/sim_platform.h"
#include "posix_files.h"

namespace {

constexpr double kMaxRatio = 1.10;
constexpr double kMaxVerifyCost = 1.5;  // a verified 1 GiB copy against the unverified one
constexpr long kMaxRssKb = 64 * 1024;

struct Set {
    const char* name;
    int files;
    std::int64_t bytes;
};
constexpr Set kSets[] = {{"big", 1, 1LL << 30}, {"mid", 1000, 1 << 20}, {"small", 10000, 4096}};
constexpr Set kHuge = {"huge", 1, 4LL << 30};

std::string g_base;  // the temp folder: src/, dst/ (the job's), cp/ (cp's)

// Wall time, and the processor time of this process and of its finished children.
struct Span {
    double wall = 0, cpu = 0;
    Span operator-(const Span& o) const { return {wall - o.wall, cpu - o.cpu}; }
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// <chrono> cannot be used: its "µs" has no GBK form, and literals here are GBK.
Span Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return {static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9,
            Seconds(self.ru_utime) + Seconds(self.ru_stime) + Seconds(children.ru_utime) + Seconds(children.ru_stime)};
}

void RunCommand(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

std::string FileName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "f%05d.bin", i);
    return name;
}

// Bytes no file system can shortcut.
void MakeSet(const Set& set) {
    const std::string folder = g_base + "/src/" + set.name;
    RunCommand("mkdir -p " + folder);
    std::vector<std::uint64_t> block(std::min<std::int64_t>(set.bytes, 1 << 20) / 8);
    std::uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < set.files; ++i) {
        const int fd = open((folder + "/" + FileName(i)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::int64_t left = set.bytes; left > 0;) {
            for (auto& w : block) w = (x ^= x << 13, x ^= x >> 7, x ^= x << 17);
            const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, block.size() * 8));
            if (write(fd, block.data(), n) != static_cast<ssize_t>(n)) std::exit(1);
            left -= static_cast<std::int64_t>(n);
        }
        close(fd);
    }
}

// Each run writes into folders of its own: recreating thousands of files just deleted
// is slow on some file systems and would favour whichever side ran first.
int g_run = 0;

// The folder name of the next run's copies, with both of its parents made; nothing of
// the run before is left waiting to be written.
std::string NextDestination() {
    const std::string name = "run" + std::to_string(++g_run);
    RunCommand("mkdir -p " + g_base + "/dst/" + name + " " + g_base + "/cp && sync");
    return name;
}

// What the job does: copy only, verify through the device, or verify with the
// read-back served from the cache (the engine's own work, without the device's).
enum class Job { Copy, Verify, VerifyInRam, Count };
// What it is compared with, all in one process run by the shell.
enum class Base { Cp, CpXxh, CpFlushXxh, JobCopy, Count };
constexpr const char* kJobNames[] = {"copy", "verify", "verify in RAM"};
constexpr const char* kBaseNames[] = {"cp", "cp + xxh128sum", "cp + flush + xxh128sum", "the job, unverified"};

// The whole job, method 1, with the windows simulated and the files real.
Span RunJob(const Set& set, Job mode, const std::string& dest) {
    SimPlatform sim;
    PosixFileSystem fs({{'S', g_base + "/src/"}, {'K', g_base + "/dst/"}}, mode == Job::VerifyInRam);
    App app{sim.ui, fs, sim.ini, sim.sys, sim.shell};
    sim.ui.setText(Ctl::目录框, "K:\\" + dest + "\\");
    sim.ui.setComboIndex(Ctl::组合框_复制方法, 0);
    sim.ui.setChecked(Ctl::选择框_校验, mode != Job::Copy);
    for (int i = 0; i < set.files; ++i) {
        const int row = sim.ui.appendRow(Ctl::超级列表框, std::string("S:\\") + set.name + "\\" + FileName(i), 0);
        sim.ui.setCell(Ctl::超级列表框, row, 1, std::to_string(set.bytes / 1048576.0));
        sim.ui.setCell(Ctl::超级列表框, row, 2, "\\");
    }
    const Span start = Now();
    StartCopyJob(app);
    sim.sys.runPosted();
    const Span took = Now() - start;
    const std::string done = "共" + std::to_string(set.files) + "个,成功复制" + std::to_string(set.files) + "个";
    if (sim.ui.text(Ctl::标签3).rfind(done, 0) != 0) {
        std::fprintf(stderr, "the job did not copy every file of %s\n", set.name);
        std::exit(1);
    }
    return took;
}

// Each copied file to the device and out of the cache, as the job's verification needs it.
void FlushAndDrop(const std::string& folder, const Set& set) {
    for (int i = 0; i < set.files; ++i) {
        const int fd = open((folder + "/" + FileName(i)).c_str(), O_RDONLY);
        if (fd < 0 || fdatasync(fd) != 0 || posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) std::exit(1);
        close(fd);
    }
}

Span RunBase(const Set& set, Base base, const std::string& dest) {
    if (base == Base::JobCopy) return RunJob(set, Job::Copy, dest);
    const std::string src = g_base + "/src/" + set.name, dst = g_base + "/cp/" + dest;
    // Its progress line on stderr is not wanted; its exit status is checked.
    const std::string hash = " && xxh128sum * >/dev/null 2>&1";
    const std::string hashes = "cd " + src + hash + " && cd " + dst + hash;
    const Span start = Now();
    RunCommand("cp -r " + src + " " + dst);
    if (base == Base::CpFlushXxh) FlushAndDrop(dst, set);
    if (base != Base::Cp) RunCommand(hashes);
    return Now() - start;
}

// A job and its baseline, run back to back in alternating order, each round. The first
// round is not counted: memory touched for the first time is slow on a virtual machine.
struct Round {
    Span job, base;
};

std::vector<Round> MeasurePair(const Set& set, Job job, Base base, int rounds) {
    std::vector<Round> all(rounds + 1);
    for (int r = 0; r <= rounds; ++r) {
        for (int k = 0; k < 2; ++k) {
            const bool jobNow = (k == 0) == (r % 2 == 0);
            const std::string dest = NextDestination();
            if (jobNow)
                all[r].job = RunJob(set, job, dest);
            else
                all[r].base = RunBase(set, base, dest);
        }
    }
    RunCommand("rm -rf " + g_base + "/dst " + g_base + "/cp");
    all.erase(all.begin());
    return all;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// One row of the table: the best round of each side; the median of the rounds' ratios,
// which counts for the limit, with their range; the median ratio of processor times.
// False when a limited row is over its limit.
bool Report(const Set& set, int rounds, Job job, Base base, bool limited, double limit = kMaxRatio) {
    std::vector<double> js, bs, ratios, cpuRatios;
    for (const Round& t : MeasurePair(set, job, base, rounds)) {
        js.push_back(t.job.wall);
        bs.push_back(t.base.wall);
        ratios.push_back(t.job.wall / t.base.wall);
        cpuRatios.push_back(t.job.cpu / t.base.cpu);
    }
    const double ratio = Median(ratios);
    const bool within = ratio <= limit;
    std::printf("%-6s %-14s %7.3f  %-24s %7.3f %6.2f %5.2f-%-5.2f %6.2f%s\n", set.name,
                kJobNames[static_cast<int>(job)], Best(js), kBaseNames[static_cast<int>(base)], Best(bs), ratio,
                Best(ratios), *std::max_element(ratios.begin(), ratios.end()), Median(cpuRatios),
                within ? "" : limited ? "  over" : "  (no limit)");
    std::fflush(stdout);
    return within || !limited;
}

// The high-water mark of this process's resident memory (VmHWM, per address space;
// the rusage figure would also count the parent's pages a forked child started with).
long OwnPeakRssKb() {
    FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (status && std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) break;
    if (status) std::fclose(status);
    return kb;
}

// Peak resident memory of a fresh process that copies the 4 GiB file and nothing else.
long PeakRssKb(bool verify, const std::string& dest) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) std::exit(1);
    self[n] = '\0';
    const std::string command =
        std::string(self) + " --peak " + g_base + " " + (verify ? "1" : "0") + " " + dest;
    FILE* child = popen(command.c_str(), "r");
    long kb = -1;
    if (!child || std::fscanf(child, "%ld", &kb) != 1 || pclose(child) != 0) std::exit(1);
    return kb;
}

bool Wanted(const Set& set, int argc, char** argv) {
    if (argc <= 2) return true;
    for (int i = 2; i < argc; ++i)
        if (set.name == std::string(argv[i])) return true;
    return false;
}

}  // namespace

//   copy_bench [rounds [set...]]   sets: big mid small huge; default 5 rounds, all sets
int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--peak") {
        g_base = argv[2];
        RunJob(kHuge, argv[3][0] == '1' ? Job::Verify : Job::Copy, argv[4]);
        std::printf("%ld\n", OwnPeakRssKb());
        return 0;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char folder[] = "/tmp/copybench.XXXXXX";
    if (!mkdtemp(folder)) return 1;
    g_base = folder;
    bool ok = true;

    std::printf("%-6s %-14s %7s  %-24s %7s %6s %-11s %6s\n", "set", "job", "best s", "baseline", "best s",
                "ratio", "range", "cpu");
    for (const Set& set : kSets) {
        if (!Wanted(set, argc, argv)) continue;
        MakeSet(set);
        ok = Report(set, rounds, Job::Copy, Base::Cp, true) && ok;
        ok = Report(set, rounds, Job::Verify, Base::CpXxh, true) && ok;
        ok = Report(set, rounds, Job::Verify, Base::CpFlushXxh, true) && ok;
        if (set.files == 1) ok = Report(set, rounds, Job::Verify, Base::JobCopy, true, kMaxVerifyCost) && ok;
        Report(set, rounds, Job::VerifyInRam, Base::CpXxh, false);
        RunCommand("rm -rf " + g_base + "/src");
    }
    if (Wanted(kHuge, argc, argv)) {
        MakeSet(kHuge);
        for (bool verify : {false, true}) {
            const long rss = PeakRssKb(verify, NextDestination());
            RunCommand("rm -rf " + g_base + "/dst");
            ok = ok && rss < kMaxRssKb;
            std::printf("4 GiB file, verify %-3s: peak RSS %ld KiB%s\n", verify ? "on" : "off", rss,
                        rss < kMaxRssKb ? "" : "  over");
        }
    }
    RunCommand("rm -rf " + g_base);
    std::printf("%s\n", ok ? "copy_bench: all within limits" : "copy_bench: some figures over their limits");
    return ok ? 0 : 1;
}
