#pragma once
// The player's room for a job: what each row will really write, in the player's clusters.
// A refill of a folder that is mostly on the player already needs room only for what is
// new, and many small files need more room than their bytes.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/files.h"

class JobDestinations;
struct App;
struct JobPlan;
struct JobRow;

inline constexpr char kNoRoomText[] = "目标磁盘空间不足，未复制";

// The free space and cluster size of the drive that holds root; unknown for a root that
// names no drive.
DriveSpace RootSpace(FileSystem&, const std::string& root);
// The room a row's copy takes in whole clusters: its bytes for a new file, none when its
// destination already holds the same file, what it adds to the old file's room for a
// replacement. One look-up at the destination (the numbered name once the job wrote its
// own), and one at the source when a file is there. At 复制 the folders are listed
// instead, once each.
std::int64_t RowRoom(App&, const JobPlan&, const JobRow&, const JobDestinations&, std::int64_t clusterBytes);
// The same, with what is at the destination already known (size -1: nothing); the source
// is looked at only when something is there.
std::int64_t RoomOver(App&, const JobRow&, const std::string& dest, const FileInfo& there,
                      const std::function<FileInfo()>& sourceInfo, std::int64_t clusterBytes);
// At 复制: true when the job may run. A list that does not fit is counted again with what
// is already on the player; if even that does not fit, the user may copy only the rows
// that fit, in list order (the others are marked noRoom), or keep the list as it is.
bool MakeRoom(App&, JobPlan&);
