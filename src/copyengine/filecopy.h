#pragma once
// The bytes of one file copied to another path: streamed in bounded chunks, with an
// optional digest check of the copy read back from the device.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/files.h"

struct CopyResult {
    bool ok = false;
    std::string text;  // for the status label and the balloon
};

// Result texts.
inline constexpr char kCopyVerifiedText[] = "复制并数据校验成功";
inline constexpr char kVerifyFailedText[] = "数据校验失败";
inline constexpr char kCopyUnverifiedText[] = "复制成功但未校验数据！";
inline constexpr char kSourceUnreadableText[] = "无法读取源文件，复制失败!";
inline constexpr char kDestUnwritableText[] = "无法写入目标文件，复制失败!";
inline constexpr char kSourceChangedText[] = "源文件在复制时被改变，复制失败!";
inline constexpr char kPlayerFullText[] = "目标磁盘空间不足，复制失败!";
inline constexpr char kPlayerGoneText[] = "目标磁盘已不存在，复制未完成!";
inline constexpr char kSourceChangedSinceText[] = "源文件在复制后被改变，已保留源文件，请重新复制";

// Called with each of the 100 progress steps in turn as the copy passes k percent of
// the bytes; a file under 100 bytes has none.
using CopyStepFn = std::function<void(int step)>;
// Called with the bytes of each chunk copied and each chunk read back for verification.
using CopyWorkFn = std::function<void(std::int64_t bytes)>;
// Asked between chunks: true stops the copy or check (Cancel) within a chunk.
using StopFn = std::function<bool()>;

// A copy's bytes written: the result, and the digest of the source as it was read.
struct WrittenCopy {
    CopyResult result;
    std::string digest;    // when asked for
    bool stopped = false;  // stopped part-way: neither copied nor failed
};

// in streamed to out from where both stand, out flushed when a digest is taken (it is
// to be read back from the device). Neither file is closed; a failed copy is the
// caller's to remove.
WrittenCopy StreamCopy(File& in, File& out, bool digest, const CopyStepFn& onStep, const CopyWorkFn& onWork,
                       const StopFn& stop = {});
// The file read back past the OS cache against the digest; none when stopped.
std::optional<CopyResult> CheckCopy(FileSystem&, const std::string& dest, const std::string& digest,
                                    const CopyWorkFn& onWork, const StopFn& stop = {});
// The digest of a whole file, or "" when it cannot be read to its end or was stopped.
std::string FileDigest(FileSystem&, const std::string& path, ReadMode, const CopyWorkFn& onWork = {},
                       const StopFn& stop = {});

// One file copied whole by path: a copy that did not complete, or that the read-back
// found corrupt, fails and leaves no destination behind.
CopyResult CopyFileData(FileSystem&, const std::string& source, const std::string& dest,
                        bool verify, const CopyStepFn& onStep, WriteMode = WriteMode::Visible,
                        const CopyWorkFn& onWork = {});

// A copy made by someone else checked the same way: the source digested, the copy
// flushed and read back uncached; a corrupt copy is removed.
CopyResult VerifyCopy(FileSystem&, const std::string& source, const std::string& dest);
