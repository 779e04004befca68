// The copy engine on real files: the Windows file system, both copy methods, the job.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>

#include "copyengine/copyjob.h"
#include "copyengine/copymethods.h"
#include "platform/sim/sim_platform.h"
#include "platform/win32/files_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_shell.h"

namespace {

std::string Bytes(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 253) & 0xFF);
    return s;
}

class RealFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "ruzcopy" + std::to_string(GetCurrentProcessId()) + "\\";
        for (const char* f : {"", "src", "player", "player\\music", "player\\Video"})
            ASSERT_TRUE(CreateDirectoryA((root + f).c_str(), nullptr)) << root + f;
    }
    void TearDown() override { Remove(root); }

    void Remove(const std::string& folder) {
        for (const auto& e : fs.listFolder(folder)) {
            const std::string path = folder + e.name;
            if (e.isFolder) {
                Remove(path + "\\");
            } else {
                fs.setAttributes(path, kNormalAttributes);
                fs.deleteFile(path);
            }
        }
        RemoveDirectoryW(WidePath(folder).c_str());
    }
    void Write(const std::string& path, const std::string& bytes, std::int64_t writeTime = 0) {
        auto f = fs.openWrite(path);
        ASSERT_TRUE(f && f->write(bytes.data(), bytes.size()) && f->setDetails(false, writeTime) && f->close()) << path;
    }
    std::string Read(const std::string& path) {
        std::string out;
        auto f = fs.openRead(path, ReadMode::Cached);
        if (!f) return "<none>";
        char buf[65536];
        for (std::int64_t n; (n = f->read(buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
        f->close();
        return out;
    }
    CopyResult Copy(const std::string& from, const std::string& to, bool verify) {
        return CopyFileData(fs, from, to, verify, [](int) {});
    }

    WinFileSystem fs;
    std::string root;
};

TEST_F(RealFilesTest, TheFileSystemAnswersLikeTheEngineExpects) {
    const std::string big = root + "src\\big.avi";
    HANDLE h = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER five;
    five.QuadPart = 5LL << 30;
    EXPECT_TRUE(SetFilePointerEx(h, five, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
    EXPECT_EQ(fs.fileSize(big), 5LL << 30);
    auto opened = fs.openRead(big, ReadMode::Cached);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->size(), 5LL << 30);
    opened->close();
    EXPECT_EQ(fs.fileSize(root + "src"), -1);
    EXPECT_EQ(fs.fileSize(root + "src\\none"), -1);
    EXPECT_TRUE(fs.isFolder(root + "player\\music"));
    EXPECT_FALSE(fs.isFolder(big));
    EXPECT_FALSE(fs.isFolder(root + "player\\*"));
    EXPECT_GT(fs.driveFreeKb(root[0]), 0);
    EXPECT_GT(fs.driveTotalBytes(root[0]), 0);
    EXPECT_GE(fs.driveSpace(root[0]).clusterBytes, 512);

    const std::string hidden = root + "player\\h.mp3";
    Write(hidden, "hidden and long");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Write(hidden, "new");
    EXPECT_EQ(Read(hidden), "new") << "an existing hidden file is emptied and rewritten";
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fs.deleteFile(hidden));
    EXPECT_TRUE(fs.setAttributes(hidden, kNormalAttributes) && fs.deleteFile(hidden));
    EXPECT_FALSE(fs.exists(hidden));

    // A source is deleted only while it is the file that was copied, read-only or not.
    const std::string source = root + "src\\s.mp3";
    Write(source, "copied");
    const FileInfo copied = fs.fileInfo(source);
    // An open file gives its details and, apart, its identity, as its path does.
    auto open = fs.openRead(source, ReadMode::Cached);
    ASSERT_TRUE(open);
    const FileInfo held = open->info();
    EXPECT_EQ(std::tie(held.size, held.writeTime, held.attributes), std::tie(copied.size, copied.writeTime, copied.attributes));
    EXPECT_EQ(open->identity(), copied.identity);
    open.reset();
    EXPECT_EQ(fs.deleteIfSame(source, {copied.size + 1, copied.writeTime, copied.identity}), DeleteOutcome::Changed);
    HANDLE reader = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(fs.deleteIfSame(source, copied), DeleteOutcome::Failed) << "in use";
    CloseHandle(reader);
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(fs.deleteIfSame(source, copied), DeleteOutcome::Deleted);
    EXPECT_FALSE(fs.exists(source));
    EXPECT_EQ(fs.deleteIfSame(source, copied), DeleteOutcome::Changed) << "gone already";

    const std::string ini = root + "mp4.ini";
    EXPECT_TRUE(fs.createNewFile(ini, "[a]\r\n"));
    EXPECT_FALSE(fs.createNewFile(ini, "other"));
    EXPECT_EQ(Read(ini), "[a]\r\n") << "a file that was there is neither rewritten nor removed";
}

TEST_F(RealFilesTest, OwnCopyVerifiesThroughUncachedReads) {
    for (std::size_t size : {0u, 99u, 100u, 4097u, 1u << 20, (3u << 20) + 5u}) {
        const std::string from = root + "src\\歌" + std::to_string(size) + ".mp3";
        const std::string to = root + "player\\music\\歌" + std::to_string(size) + ".mp3";
        Write(from, Bytes(size));
        const auto r = Copy(from, to, true);
        EXPECT_TRUE(r.ok) << size;
        EXPECT_EQ(r.text, kCopyVerifiedText) << size;
        EXPECT_EQ(Read(to), Bytes(size)) << size;
    }
}

TEST_F(RealFilesTest, OwnCopyFailuresLeaveNothingBehind) {
    const std::string from = root + "src\\a.mp3";
    Write(from, Bytes(1000));
    EXPECT_EQ(Copy(from, root + "player\\none\\a.mp3", false).text, kDestUnwritableText);
    EXPECT_EQ(Copy(from, root + "player\\" + std::string(300, 'x') + ".mp3", false).text, kDestUnwritableText);

    // A destination in use elsewhere. (Read-only files do not stop root under Wine.)
    const std::string inUse = root + "player\\music\\busy.mp3";
    Write(inUse, "keep");
    HANDLE user = CreateFileA(inUse.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(user, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Copy(from, inUse, true).text, kDestUnwritableText);
    CloseHandle(user);
    EXPECT_EQ(Read(inUse), "keep");

    HANDLE lock = CreateFileA(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Copy(from, root + "player\\music\\a.mp3", false).text, kSourceUnreadableText);
    CloseHandle(lock);
    EXPECT_FALSE(fs.exists(root + "player\\music\\a.mp3"));
}

TEST_F(RealFilesTest, FolderNamesEndingInATrailByteBackslashAndReadErrors) {
    const std::string folder = root + "src\\淺";  // 9C 5C: the name ends in a "\" byte
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    Write(folder + "\\a.mp3", "a");
    const auto entries = fs.listFolder(folder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "a.mp3");

    // Reading this process's memory from address 0 fails with an I/O error.
    const std::string unreadable = "Z:\\proc\\self\\mem";
    auto in = fs.openRead(unreadable, ReadMode::Cached);
    ASSERT_TRUE(in);
    char buf[16];
    EXPECT_EQ(in->read(buf, sizeof buf), -1);
    EXPECT_EQ(Copy(unreadable, root + "player\\music\\mem", true).text, kSourceUnreadableText);
    EXPECT_FALSE(fs.exists(root + "player\\music\\mem"));
}

TEST_F(RealFilesTest, ACopyTakesTheOldFilesPlaceInOneStepAndVolumesNameTheirFormat) {
    const std::string old = root + "player\\music\\a.mp3", temp = old + ".tmp";
    Write(old, "old");
    auto made = fs.openWrite(temp, WriteMode::Hidden);
    ASSERT_TRUE(made && made->write("new", 3));
    EXPECT_EQ(made->info().attributes & (kHiddenAttribute | kSystemAttribute), kHiddenAttribute | kSystemAttribute)
        << "hidden, and marked unfinished, while it is written";
    const std::int64_t may2024 = 133'590'384'000'000'000;
    ASSERT_TRUE(made->setDetails(false, may2024) && made->close());
    EXPECT_FALSE(fs.attributes(temp) & kHiddenAttribute) << "shown in the call that dates it";
    EXPECT_EQ(fs.fileInfo(temp).writeTime, may2024);
    bool exists = false;
    EXPECT_FALSE(fs.createNew(old, exists));
    EXPECT_TRUE(exists) << "the create is the existence check";
    EXPECT_EQ(fs.fileInfo(old).identity, fs.fileInfo(root + "PLAYER\\Music\\.\\A.MP3").identity);
    EXPECT_NE(fs.fileInfo(old).identity, fs.fileInfo(temp).identity);
    EXPECT_EQ(fs.nameKey("K:\\Песня.mp3"), fs.nameKey("k:\\песня.MP3")) << "names compare as NTFS does";
    EXPECT_TRUE(fs.replaceFile(temp, old));
    EXPECT_EQ(Read(old), "new");
    EXPECT_FALSE(fs.exists(temp));
    EXPECT_FALSE(fs.replaceFile(temp, old)) << "nothing left to move";

    EXPECT_EQ(fs.volumeFormat("C:\\"), "NTFS");
    EXPECT_EQ(fs.volumeFormat(root), fs.volumeFormat(root.substr(0, 3)));
    EXPECT_EQ(fs.volumeFormat("\\\\server\\share\\"), "") << "no drive letter";
}

TEST_F(RealFilesTest, ShellCopiesToTheExactFilePath) {
    WinShell shell;
    const std::string from = root + "src\\b.avi";
    const std::string to = root + "player\\Video\\renamed.avi";
    Write(from, Bytes(70000));
    Write(to, "older and different");
    EXPECT_TRUE(shell.shellCopyFile(from, to));
    EXPECT_EQ(Read(to), Bytes(70000));
    EXPECT_FALSE(shell.shellCopyFile(root + "src\\missing.avi", root + "player\\Video\\m.avi"));
    EXPECT_FALSE(fs.exists(root + "player\\Video\\m.avi"));
}

// The whole job with the real file system and shell copy; windows and tray simulated.
TEST_F(RealFilesTest, BothMethodsCopyAListIntoItsFolders) {
    SimPlatform sim;
    WinShell winShell;
    sim.shell.onShellCopy = [&](const std::string& s, const std::string& d) { return winShell.shellCopyFile(s, d); };
    App app{sim.ui, fs, sim.ini, sim.sys, sim.shell};
    sim.ui.setText(Ctl::目录框, root + "player\\");
    sim.ui.setChecked(Ctl::选择框_校验, true);
    sim.ui.setChecked(Ctl::选择框_成功后删除源文件, true);
    for (int method : {0, 1}) {
        const std::string m = std::to_string(method);
        // The shell's copy stays within MAX_PATH; the own copy goes past it.
        const std::string deep = method ? "\\" : "\\" + std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\";
        const struct {
            std::string name, sub, bytes;
        } files[] = {{"a" + m + ".mp3", "\\music\\", Bytes(5000 + method)},
                     {"b" + m + ".avi", "\\Video\\", Bytes((2u << 20) + method)},
                     {"c" + m + std::string(40, 'c') + ".txt", deep, "text"}};
        const std::int64_t may2024 = 133'590'384'000'000'000 + method * 20'000'000;
        for (const auto& f : files) {
            Write(root + "src\\" + f.name, f.bytes, may2024);
            const int r = sim.ui.appendRow(Ctl::超级列表框, root + "src\\" + f.name, 0);
            sim.ui.setCell(Ctl::超级列表框, r, 1, "1");
            sim.ui.setCell(Ctl::超级列表框, r, 2, f.sub);
        }
        sim.ui.setComboIndex(Ctl::组合框_复制方法, method);
        StartCopyJob(app);
        sim.sys.runPosted();
        for (const auto& f : files) {
            EXPECT_EQ(Read(root + "player" + f.sub + f.name), f.bytes) << f.name;
            EXPECT_EQ(fs.fileInfo(root + "player" + f.sub + f.name).writeTime, may2024) << "dated as its source";
            EXPECT_FALSE(fs.exists(root + "src\\" + f.name)) << f.name;
        }
        EXPECT_EQ(sim.ui.text(Ctl::标签3).rfind("共3个,成功复制3个,耗时", 0), 0u) << method;
        EXPECT_EQ(sim.ui.rowCount(Ctl::超级列表框), 0) << method;
    }
}

}  // namespace
