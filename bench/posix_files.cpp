#include "posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <cstdlib>
#include <cstring>

namespace {

// O_DIRECT wants aligned buffers, lengths and offsets: whole blocks of a multiple of
// 64 KiB, no larger than the file needs, as the Windows side does.
constexpr std::size_t kDirectUnit = 1 << 16;
constexpr std::size_t kDirectBlock = 1 << 20;

// Windows counts 100 ns steps from 1601.
constexpr std::int64_t kUnixEpoch = 116'444'736'000'000'000;
std::int64_t TimeOf(const struct stat& st) { return kUnixEpoch + st.st_mtim.tv_sec * 10'000'000LL + st.st_mtim.tv_nsec / 100; }
std::string IdentityOf(const struct stat& st) { return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino); }

class PosixFile : public File {
public:
    PosixFile(int fd, bool direct, bool inRam) : fd_(fd), inRam_(inRam) {
        if (!direct) return;
        const std::int64_t units = (std::max<std::int64_t>(size(), 1) + kDirectUnit - 1) / kDirectUnit;
        blockSize_ = std::min<std::size_t>(kDirectBlock, static_cast<std::size_t>(units) * kDirectUnit);
        if (posix_memalign(reinterpret_cast<void**>(&block_), 4096, blockSize_) != 0) block_ = nullptr;
    }
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
        std::free(block_);
    }
    std::int64_t size() override {
        struct stat st;
        return fstat(fd_, &st) == 0 ? st.st_size : -1;
    }
    std::int64_t read(void* buf, std::size_t len) override {
        if (block_) return readBlocks(static_cast<char*>(buf), len);
        return ::read(fd_, buf, len);
    }
    bool write(const void* buf, std::size_t len) override {
        const char* p = static_cast<const char*>(buf);
        while (len > 0) {
            const ssize_t n = ::write(fd_, p, len);
            if (n <= 0) return false;
            p += n;
            len -= static_cast<std::size_t>(n);
        }
        return true;
    }
    bool flush() override { return inRam_ || fdatasync(fd_) == 0; }
    FileInfo info() override {
        struct stat st;
        if (fstat(fd_, &st) != 0) return {};
        return {st.st_size, TimeOf(st), "", kNormalAttributes};
    }
    std::string identity() override {
        struct stat st;
        return fstat(fd_, &st) == 0 ? IdentityOf(st) : "";
    }
    bool setDetails(bool, std::int64_t writeTime) override {
        const std::int64_t unix100ns = writeTime - kUnixEpoch;
        const timespec times[2] = {{0, UTIME_OMIT}, {unix100ns / 10'000'000, unix100ns % 10'000'000 * 100}};
        return futimens(fd_, times) == 0;
    }
    bool close() override {
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    std::int64_t readBlocks(char* buf, std::size_t len) {
        if (pos_ == filled_ && !atEnd_) {
            const ssize_t n = ::read(fd_, block_, blockSize_);
            if (n < 0) return -1;
            pos_ = 0;
            filled_ = static_cast<std::size_t>(n);
            atEnd_ = filled_ < blockSize_;
        }
        const std::size_t n = std::min(len, filled_ - pos_);
        std::memcpy(buf, block_ + pos_, n);
        pos_ += n;
        return static_cast<std::int64_t>(n);
    }

    int fd_;
    bool inRam_;
    char* block_ = nullptr;
    std::size_t blockSize_ = 0, pos_ = 0, filled_ = 0;
    bool atEnd_ = false;
};


}  // namespace

std::unique_ptr<File> PosixFileSystem::wrap(int fd, bool direct) const {
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFile>(fd, direct, inRam_);
}

std::string PosixFileSystem::hostPath(const std::string& path) const {
    if (path.size() < 2 || path[1] != ':') return "";
    auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
    if (it == drives_.end()) return "";
    std::string rest = path.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return it->second + rest;
}

std::int64_t PosixFileSystem::fileSize(const std::string& path) {
    struct stat st;
    if (stat(hostPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return st.st_size;
}

bool PosixFileSystem::exists(const std::string& path) {
    struct stat st;
    return stat(hostPath(path).c_str(), &st) == 0;
}

bool PosixFileSystem::isFolder(const std::string& path) {
    struct stat st;
    return stat(hostPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t PosixFileSystem::driveTotalBytes(char letter) {
    struct statvfs st;
    if (statvfs(hostPath(std::string(1, letter) + ":\\").c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.f_blocks * st.f_frsize);
}

std::int64_t PosixFileSystem::driveFreeKb(char letter) {
    struct statvfs st;
    if (statvfs(hostPath(std::string(1, letter) + ":\\").c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.f_bavail * st.f_frsize / 1024);
}

DriveSpace PosixFileSystem::driveSpace(char letter) {
    struct statvfs st;
    if (statvfs(hostPath(std::string(1, letter) + ":\\").c_str(), &st) != 0) return {};
    return {static_cast<std::int64_t>(st.f_bavail * st.f_frsize), static_cast<std::int64_t>(st.f_bsize)};
}

std::vector<DirEntry> PosixFileSystem::listFolder(const std::string& folder) {
    std::vector<DirEntry> out;
    const std::string host = hostPath(folder);
    DIR* dir = opendir(host.c_str());
    if (!dir) return out;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") out.push_back({name, isFolder(folder + "\\" + name)});
    }
    closedir(dir);
    return out;
}

std::unique_ptr<File> PosixFileSystem::openRead(const std::string& path, ReadMode mode) {
    const std::string host = hostPath(path);
    if (mode == ReadMode::Cached || inRam_) return wrap(open(host.c_str(), O_RDONLY));
    const int fd = open(host.c_str(), O_RDONLY | O_DIRECT);
    if (fd >= 0) return wrap(fd, true);
    // Without direct I/O, drop the cached pages so the read comes from the device.
    const int cached = open(host.c_str(), O_RDONLY);
    if (cached >= 0) posix_fadvise(cached, 0, 0, POSIX_FADV_DONTNEED);
    return wrap(cached);
}

std::unique_ptr<File> PosixFileSystem::openWrite(const std::string& path, WriteMode) {
    return wrap(open(hostPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
}

std::unique_ptr<File> PosixFileSystem::createNew(const std::string& path, bool& exists) {
    const int fd = open(hostPath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    exists = fd < 0 && errno == EEXIST;
    return wrap(fd);
}

FileInfo PosixFileSystem::fileInfo(const std::string& path) {
    struct stat st;
    if (stat(hostPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return {st.st_size, TimeOf(st), IdentityOf(st), attributes(path)};
}

bool PosixFileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    auto file = wrap(open(hostPath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644));
    if (!file) return false;
    const bool written = file->write(bytes.data(), bytes.size());
    if (file->close() && written) return true;
    unlink(hostPath(path).c_str());
    return false;
}

bool PosixFileSystem::flushFile(const std::string& path) {
    const int fd = open(hostPath(path).c_str(), O_WRONLY);
    if (fd < 0) return false;
    const bool flushed = inRam_ || fdatasync(fd) == 0;
    return close(fd) == 0 && flushed;
}

bool PosixFileSystem::createFolder(const std::string& path) { return mkdir(hostPath(path).c_str(), 0755) == 0; }

std::uint32_t PosixFileSystem::attributes(const std::string& path) {
    struct stat st;
    if (stat(hostPath(path).c_str(), &st) != 0) return kNoAttributes;
    return (st.st_mode & S_IWUSR) ? kNormalAttributes : kReadOnlyAttribute;
}

bool PosixFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    return chmod(hostPath(path).c_str(), (attributes & kReadOnlyAttribute) ? 0444 : 0644) == 0;
}

bool PosixFileSystem::deleteFile(const std::string& path) { return unlink(hostPath(path).c_str()) == 0; }

DeleteOutcome PosixFileSystem::deleteIfSame(const std::string& path, const FileInfo& expected) {
    const FileInfo now = fileInfo(path);
    if (now.identity != expected.identity || now.size != expected.size || now.writeTime != expected.writeTime)
        return DeleteOutcome::Changed;
    return deleteFile(path) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
}

bool PosixFileSystem::replaceFile(const std::string& from, const std::string& to) {
    return rename(hostPath(from).c_str(), hostPath(to).c_str()) == 0;
}
