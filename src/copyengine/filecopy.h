#pragma once
// The bytes of one file copied to another path: streamed in bounded chunks, with an
// optional digest check of the copy read back from the device.
#include <cstdint>
#include <functional>
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

// Called with each of the 100 progress steps in turn as the copy passes k percent of
// the bytes; a file under 100 bytes has none.
using CopyStepFn = std::function<void(int step)>;
// Called with the bytes of each chunk copied and each chunk read back for verification.
using CopyWorkFn = std::function<void(std::int64_t bytes)>;

// The first half of a verified copy: the copy written and flushed, and the digest of the
// source as it was read.
struct WrittenCopy {
    CopyResult result;
    std::string digest;  // with digest only
};

// A copy that did not complete fails and leaves no destination behind. With verify the
// source is digested while it is copied and the flushed copy is read back uncached.
// A copy found corrupt by the read-back is removed too.
CopyResult CopyFileData(FileSystem&, const std::string& source, const std::string& dest,
                        bool verify, const CopyStepFn& onStep, WriteMode = WriteMode::Visible,
                        const CopyWorkFn& onWork = {});

// The halves of CopyFileData, for a caller that checks one copy while it writes the next.
// A copy that did not complete is removed.
WrittenCopy WriteCopy(FileSystem&, const std::string& source, const std::string& dest, bool digest,
                      const CopyStepFn& onStep, WriteMode, const CopyWorkFn& onWork);
// The copy read back uncached against the digest; a corrupt copy is removed.
CopyResult CheckCopy(FileSystem&, const std::string& dest, const std::string& digest, const CopyWorkFn& onWork);

// A copy made by someone else checked the same way: the source digested, the copy
// flushed and read back uncached; a corrupt copy is removed.
CopyResult VerifyCopy(FileSystem&, const std::string& source, const std::string& dest);
