#include "copyengine/filecopy.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "platform/files.h"

namespace {

// Memory stays this small whatever the file size.
constexpr std::size_t kChunkBytes = 256 << 10;
constexpr int kSteps = 100;

enum class Outcome { Done, ReadFailed, WriteFailed, SourceChanged, Stopped };

class Digest {
public:
    Digest() { XXH3_128bits_reset(&state_); }
    void add(const char* data, std::size_t len) { XXH3_128bits_update(&state_, data, len); }
    // Lowercase hex of the canonical (big-endian) form, as xxh128sum prints it.
    std::string hex() {
        XXH128_canonical_t canonical;
        XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(&state_));
        static constexpr char digits[] = "0123456789abcdef";
        std::string out;
        for (unsigned char b : canonical.digest) {
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out;
    }

private:
    XXH3_state_t state_;
};

// Buffers kept from file to file: a fresh one would cost page faults on every file, and
// one this size stays in the processor's cache. As many are kept as were ever in use at
// once (one per copy or check running). Not thread_local: this toolchain's thread-exit
// destructors crash when a thread has more than one.
class BufferPool {
public:
    std::unique_ptr<char[]> take() {
        std::lock_guard lock(mutex_);
        if (free_.empty()) return std::make_unique_for_overwrite<char[]>(kChunkBytes);
        auto buffer = std::move(free_.back());
        free_.pop_back();
        return buffer;
    }
    void give(std::unique_ptr<char[]> buffer) {
        std::lock_guard lock(mutex_);
        free_.push_back(std::move(buffer));
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<char[]>> free_;
};

BufferPool& Buffers() {
    static BufferPool pool;
    return pool;
}

struct Chunk {
    Chunk() : buffer(Buffers().take()), data(buffer.get()) {}
    ~Chunk() { Buffers().give(std::move(buffer)); }
    Chunk(const Chunk&) = delete;
    Chunk& operator=(const Chunk&) = delete;
    std::unique_ptr<char[]> buffer;
    char* data;
    std::size_t size = kChunkBytes;
};

// Reads until len bytes or the end of the file; -1 on a read error.
std::int64_t ReadFull(File& file, char* buf, std::size_t len) {
    std::size_t got = 0;
    while (got < len) {
        const std::int64_t n = file.read(buf + got, len - got);
        if (n < 0) return -1;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(got);
}

Outcome Stream(File& in, File& out, std::int64_t size, Chunk& chunk, Digest* digest,
               const CopyStepFn& onStep, const CopyWorkFn& onWork, const StopFn& stop) {
    const std::int64_t slice = size / kSteps;
    int step = 0;
    for (std::int64_t done = 0; done < size;) {
        if (stop && stop()) return Outcome::Stopped;
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size), size - done));
        const std::int64_t got = ReadFull(in, chunk.data, want);
        if (got < 0) return Outcome::ReadFailed;
        if (got < static_cast<std::int64_t>(want)) return Outcome::SourceChanged;
        if (digest) digest->add(chunk.data, want);
        if (!out.write(chunk.data, want)) return Outcome::WriteFailed;
        done += got;
        if (onWork) onWork(got);
        while (slice > 0 && step < kSteps && done >= (step + 1) * slice) onStep(++step);
    }
    char extra;
    const std::int64_t more = in.read(&extra, 1);
    if (more < 0) return Outcome::ReadFailed;
    return more == 0 ? Outcome::Done : Outcome::SourceChanged;
}


const char* FailureText(Outcome outcome) {
    switch (outcome) {
    case Outcome::ReadFailed: return kSourceUnreadableText;
    case Outcome::SourceChanged: return kSourceChangedText;
    default: return kDestUnwritableText;
    }
}

}  // namespace

WrittenCopy StreamCopy(File& in, File& out, bool digest, const CopyStepFn& onStep, const CopyWorkFn& onWork,
                       const StopFn& stop) {
    // The size of the file actually opened: a path looked up twice may name two files.
    const std::int64_t size = in.size();
    if (size < 0) return {{false, kSourceUnreadableText}, ""};
    Chunk chunk;
    Digest sourceDigest;
    Outcome outcome = Stream(in, out, size, chunk, digest ? &sourceDigest : nullptr, onStep, onWork, stop);
    if (outcome == Outcome::Done && digest && !out.flush()) outcome = Outcome::WriteFailed;
    if (outcome == Outcome::Stopped) return {{}, "", true};
    if (outcome != Outcome::Done) return {{false, FailureText(outcome)}, ""};
    return {{true, digest ? kCopyVerifiedText : kCopyUnverifiedText}, digest ? sourceDigest.hex() : ""};
}

std::string FileDigest(FileSystem& fs, const std::string& path, ReadMode mode, const CopyWorkFn& onWork,
                       const StopFn& stop) {
    auto file = fs.openRead(path, mode);
    if (!file) return "";
    Chunk chunk;
    Digest digest;
    std::int64_t n;
    while ((n = file->read(chunk.data, chunk.size)) > 0) {
        if (stop && stop()) return "";
        digest.add(chunk.data, static_cast<std::size_t>(n));
        if (onWork) onWork(n);
    }
    const bool closed = file->close();
    return n == 0 && closed ? digest.hex() : "";
}

std::optional<CopyResult> CheckCopy(FileSystem& fs, const std::string& dest, const std::string& digest,
                                    const CopyWorkFn& onWork, const StopFn& stop) {
    // The copy as the device holds it, past the OS cache where the platform can.
    const bool same = FileDigest(fs, dest, ReadMode::Uncached, onWork, stop) == digest;
    if (stop && stop()) return std::nullopt;
    return same ? CopyResult{true, kCopyVerifiedText} : CopyResult{false, kVerifyFailedText};
}

CopyResult CopyFileData(FileSystem& fs, const std::string& source, const std::string& dest,
                        bool verify, const CopyStepFn& onStep, WriteMode mode, const CopyWorkFn& onWork) {
    auto in = fs.openRead(source);
    if (!in || in->size() < 0) return {false, kSourceUnreadableText};
    auto out = fs.openWrite(dest, mode);
    if (!out) return {false, kDestUnwritableText};
    WrittenCopy written = StreamCopy(*in, *out, verify, onStep, onWork);
    if (!out->close() && written.result.ok) written.result = {false, kDestUnwritableText};
    in->close();  // every byte is already read; a late error here cannot spoil the copy
    CopyResult result = written.result;
    if (result.ok && verify) result = *CheckCopy(fs, dest, written.digest, onWork);
    if (!result.ok) fs.deleteFile(dest);  // an incomplete or corrupt copy must not pass for the file
    return result;
}

CopyResult VerifyCopy(FileSystem& fs, const std::string& source, const std::string& dest) {
    const std::string expected = FileDigest(fs, source, ReadMode::Cached);
    if (expected.empty()) return {false, kSourceUnreadableText};
    if (!fs.flushFile(dest)) return {false, kDestUnwritableText};
    const CopyResult result = *CheckCopy(fs, dest, expected, {});
    if (!result.ok) fs.deleteFile(dest);  // a copy known to be corrupt must not pass for the file
    return result;
}
