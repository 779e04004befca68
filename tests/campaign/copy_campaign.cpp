// The copy job's campaign by hand: copy_campaign [--seed S] [--jobs N]. The last line is
// "N jobs, F failed, J jobs/s"; each failure is printed shrunk, as the lines of a unit test.
// Pasted into a test, CAMPAIGN_DUMP=1 shows what such a job left: its rows and files.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "campaign.h"

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    int jobs = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seed")) seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--jobs")) jobs = std::atoi(argv[i + 1]);
        else return std::fprintf(stderr, "usage: copy_campaign [--seed S] [--jobs N]\n"), 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const CampaignOutcome outcome = RunCampaign(seed, jobs);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fputs(outcome.report.c_str(), stdout);
    std::printf("%d jobs, %d failed, %.0f jobs/s\n", outcome.jobs, outcome.failed, outcome.jobs / seconds);
    return outcome.failed ? 1 : 0;
}
