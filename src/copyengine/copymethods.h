#pragma once
// One file as the copy job copies it: the program's own copy (method 1) or the shell's
// (method 2), and the deletion of the source after a successful copy.
#include <optional>
#include <string>

#include "copyengine/filecopy.h"
#include "platform/ids.h"

struct App;
class JobEvents;

inline constexpr char kShellCopiedText[] = "复制成功!";
inline constexpr char kShellFailedText[] = "复制失败!";

// Method 1, on the copy worker. Progress goes through events to the bar, or to the
// copy-progress window when no bar is given.
CopyResult CopyFileWithProgress(App&, JobEvents&, const std::string& source, const std::string& dest,
                                std::optional<Ctl> bar, bool verify, WriteMode = WriteMode::Visible,
                                const CopyWorkFn& onWork = {});
// Method 1's copy between open files, without its check, for a job that checks it later.
WrittenCopy WriteWithProgress(App&, JobEvents&, File& in, File& out, Ctl bar, bool digest, const CopyWorkFn& onWork,
                              const StopFn& stop);
// Main thread: step 1..100 of a file's copy.
void ShowCopyStep(App&, std::optional<Ctl> bar, const std::string& source, const std::string& dest,
                  int step);
// Method 2: no progress; with verify the copy is checked as method 1 checks its own.
CopyResult CopyWithShell(App&, const std::string& source, const std::string& dest, bool verify,
                         WriteMode = WriteMode::Visible);
// Read-only, hidden and system sources go too, but only while the source is still the
// file that was copied; a failure shows an error balloon.
DeleteOutcome DeleteSource(App&, JobEvents&, const std::string& source, const FileInfo& copied);
