// Names and texts beyond GBK at the wide Win32 functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "copyengine/filecopy.h"
#include "platform/win32/files_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_shell.h"
#include "text/escape.h"

namespace {

const std::string kEmoji = EscapeCodePoint(0x1F602), kO = EscapeCodePoint(0xF6), kOStroke = EscapeCodePoint(0xD8);

}  // namespace

TEST(WideText, GbkStaysAndEverythingElseRoundTripsThroughAnEscape) {
    const struct {
        std::wstring wide;
        std::string narrow;
    } cases[] = {
        {L"歌.mp3", "歌.mp3"},
        {L"運\\x", "\xDF\x5C\\x"},                 // a trail byte "\" stays GBK
        {L"€", "\x80"},                            // GBK's one single-byte extra
        {L"\xD83D\xDE02搞笑合集.mp4", kEmoji + "搞笑合集.mp4"},  // beyond the BMP
        {L"Björk", "Bj" + kO + "rk"},             // best fit would make it "o"
        {L"방", EscapeCodePoint(0xBC29)},
        {L"*.mp?;?.avi", "*.mp?;?.avi"},         // a "?" in a rule pattern
        {L"?" + std::wstring(L"abcdef"), EscapeCodePoint('?') + "abcdef"},  // text that reads as an escape
        {std::wstring(1, wchar_t(0xD83D)) + L"x", EscapeCodePoint(0xD83D) + "x"},  // a lone surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Narrow(c.wide), c.narrow);
        EXPECT_EQ(Wide(c.narrow), c.wide);
    }
    EXPECT_EQ(WideCut("ab" + kEmoji, 3), L"ab");  // never half a surrogate pair
    EXPECT_EQ(WideCut("ab" + kEmoji, 4), L"ab\xD83D\xDE02");
    EXPECT_EQ(WideCut("视频", 1), L"视");
}

TEST(WideNames, FilesFolderWalkAndBothCopiesKeepEveryName) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string root = Narrow(temp) + "ruzwide" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string folder = root + kOStroke + "rsted 音乐\\";
    const std::string names[] = {kEmoji + "搞笑合集.mp4", EscapeCodePoint(0xBC29) + ".mp3", "Bj" + kO + "rk.wma", "歌.mp3"};
    WinFileSystem fs;
    ASSERT_TRUE(CreateDirectoryW(Wide(root).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Wide(root + "out").c_str(), nullptr));
    for (const auto& n : names) {
        auto f = fs.openWrite(folder + n);
        ASSERT_TRUE(f && f->write(n.data(), n.size()) && f->close()) << n;
    }
    // The Windows name is the real one, not the escape.
    EXPECT_NE(GetFileAttributesW((Wide(root) + L"\x00D8rsted 音乐\\\xD83D\xDE02搞笑合集.mp4").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(fs.isFolder(root + kOStroke + "rsted 音乐"));

    std::vector<std::string> listed;
    for (const auto& e : fs.listFolder(folder)) listed.push_back(e.name);
    std::vector<std::string> expected(std::begin(names), std::end(names));
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);

    WinShell shell;
    for (const auto& n : names) {
        EXPECT_EQ(fs.fileSize(folder + n), static_cast<std::int64_t>(n.size())) << n;
        EXPECT_TRUE(CopyFileData(fs, folder + n, root + "out\\" + n, true, [](int) {}).ok) << n;
        EXPECT_TRUE(shell.shellCopyFile(folder + n, root + "out\\2" + n)) << n;
        for (const std::string& copy : {root + "out\\" + n, root + "out\\2" + n}) {
            EXPECT_EQ(fs.fileSize(copy), static_cast<std::int64_t>(n.size())) << copy;
            EXPECT_TRUE(fs.deleteFile(copy)) << copy;
        }
        EXPECT_TRUE(fs.deleteFile(folder + n));
        EXPECT_FALSE(fs.exists(folder + n));
    }
    EXPECT_TRUE(RemoveDirectoryW(Wide(folder).c_str()));
    RemoveDirectoryW(Wide(root + "out").c_str());
    RemoveDirectoryW(Wide(root).c_str());
}
