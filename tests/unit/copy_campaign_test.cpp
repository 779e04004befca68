// The copy job's promises over generated jobs: a fixed set of seeds, and the jobs the
// campaign once broke, shrunk, kept as they were found.
#include <gtest/gtest.h>

#include "campaign.h"

namespace {

TEST(CopyCampaign, TheJobsOfFixedSeedsKeepEveryPromise) {
    const CampaignOutcome outcome = RunCampaign(20081, 10000);
    EXPECT_EQ(outcome.failed, 0) << outcome.report;
    EXPECT_EQ(outcome.jobs, 10000);
}

CampaignJob OneSong(const std::vector<WorldFile>& player) {
    CampaignJob job;
    job.files = {{"S:\\a.mp3", 1000, 1, 100}};
    job.files.insert(job.files.end(), player.begin(), player.end());
    job.listed = {"S:\\a.mp3"};
    return job;
}

TEST(CopyCampaign, TheJobsItOnceBrokeKeepEveryPromise) {
    // A hidden file the same as the source counted as its copy, and the source went.
    CampaignJob hiddenCopy = OneSong({{"K:\\music\\a.mp3", 1000, 1, 100, false, true, false}});
    hiddenCopy.deleteSource = true;
    // The shell's copy of a source deleted by the first run: asked about, then written over.
    CampaignJob goneSource = OneSong({});
    goneSource.shell = goneSource.deleteSource = goneSource.twice = true;
    // The shell's temporary shown before its check; the player unplugged during the check.
    CampaignJob shellUnplugged = OneSong({{"K:\\music\\a.mp3", 500, 50, 10000}});
    shellUnplugged.shell = shellUnplugged.verify = true;
    shellUnplugged.event = Event::Unplug;
    shellUnplugged.eventAt = 12;
    // A look-up that failed taken for a free name: the shell wrote over the file unasked.
    CampaignJob failedLookUp = OneSong({{"K:\\music\\a.mp3", 500, 50, 10000}});
    failedLookUp.shell = true;
    failedLookUp.answers = {0};
    failedLookUp.event = Event::Failure;
    failedLookUp.eventAt = 6;
    // A temporary shown before it took the old file's name; unplugged at the rename.
    CampaignJob unpluggedRename = shellUnplugged;
    unpluggedRename.shell = false;
    unpluggedRename.eventAt = 21;
    // The player filled: a later row that needed no room let the next be tried blind, and a
    // name the job had written was measured as a replacement, not as a new numbered file.
    CampaignJob fullPastSameFile;
    fullPastSameFile.files = {{"S:\\a.mp3", 1000, 1, 100}, {"S:\\t.txt", 1000, 7, 700}, {"K:\\Video\\v.avi", 1, 6, 600}};
    fullPastSameFile.listed = {"S:\\a.mp3", "K:\\Video\\v.avi", "S:\\t.txt"};
    fullPastSameFile.event = Event::PlayerFills;
    fullPastSameFile.eventAt = 8;
    CampaignJob fullPastOwnName = fullPastSameFile;
    fullPastOwnName.files = {{"S:\\CD1\\01.mp3", 1000, 2, 200}, {"S:\\a.mp3", 1000, 1, 100}, {"S:\\CD2\\01.mp3", 1000, 3, 200}};
    fullPastOwnName.listed = {"S:\\CD1\\01.mp3", "S:\\a.mp3", "S:\\CD2\\01.mp3"};
    fullPastOwnName.eventAt = 15;
    // A read-only file let go by 覆盖 where only a copy in place fits: the open failed.
    CampaignJob readOnlyInPlace = OneSong({{"K:\\music\\a.mp3", 500, 50, 10000, true, false, false}});
    readOnlyInPlace.freeClusters = 0;
    readOnlyInPlace.answers = {1};
    // The shell's copy in place of a read-only source kept the mark, and its flush for the
    // check failed.
    CampaignJob readOnlySource = readOnlyInPlace;
    readOnlySource.files[1].readOnly = false;
    readOnlySource.files[0].readOnly = readOnlySource.shell = readOnlySource.verify = true;
    for (const CampaignJob& job : {hiddenCopy, goneSource, shellUnplugged, failedLookUp, unpluggedRename,
                                   fullPastSameFile, fullPastOwnName, readOnlyInPlace, readOnlySource})
        EXPECT_EQ(RunCampaignJob(job), "") << JobAsCode(job);
}

}  // namespace
