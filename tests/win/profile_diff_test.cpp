// The program's INI store against the system's private-profile functions under the GBK
// code page: the same files, the same calls, every result compared, and after a write the
// system reads the program's file as its own (Wine rewrites it all, Windows and the
// program change only the key's line).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <cstring>
#include <sstream>
#include <vector>

#include "platform/sim/sim_files.h"
#include "platform/ini_profile.h"
#include "settings/options.h"

namespace {

struct Call {
    enum Kind { Text, Int, Write } kind;
    std::string section, key, text;  // default of a text read, or the value written
    int number = 0;                  // default of an integer read
};
Call Read(std::string s, std::string k, std::string def = "<def>") { return {Call::Text, s, k, def}; }
Call ReadInt(std::string s, std::string k, int def = -7) { return {Call::Int, s, k, "", def}; }
Call Write(std::string s, std::string k, std::string v) { return {Call::Write, s, k, v}; }

struct Case {
    std::string name;
    std::optional<std::string> file;  // none: no file at all
    std::vector<Call> calls;
};

// The reference: the system's ANSI functions.
struct SystemProfile {
    std::string readString(const std::string& section, const std::string& key, const std::string& def,
                           const std::string& path) {
        char buffer[255] = {};
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer,
                                                 path.c_str());
        // When a double-byte character does not fit, the count still says 254 but the buffer
        // holds one byte less; the zero after the last whole character ends the value.
        return std::string(buffer, strnlen(buffer, n));
    }
    int readInt(const std::string& section, const std::string& key, int def, const std::string& path) {
        return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, path.c_str()));
    }
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
    }
};

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

const std::string kYun = "運";      // DF 5C: trail byte "\"
const std::string kBracket = "盷";  // B1 5D: trail byte "]"

std::vector<Case> Cases() {
    const std::string tpl(DefaultIniTemplate);
    return {
        {"template",
         tpl,
         {Read("MP4配置", "复制路径"), ReadInt("MP4配置", "迷你窗口"), ReadInt("MP4配置", "复制方法"),
          Read("扩展名配置", "扩展名1"), Read("扩展名配置", "路径5"), Write("MP4配置", "复制路径", "K:\\"),
          Write("MP4配置", "复制路径", "J:\\MP4\\"), Write("MP4配置", "新键", "1"), Write("新节", "键", "值"),
          Read("MP4配置", "复制路径"), Read("新节", "键")}},
        {"comments",
         "; top comment\r\n[S]\r\n; k = commented\r\nk=1\r\n;k2=3\r\n",
         {Read("S", "k"), Read("S", "; k"), Read("S", ";k2"), Read("S", "k2"), Write("S", "k", "2"),
          Read("S", "k")}},
        {"blanks",
         "  [ S ]  \r\n\t k \t=\t v  w \t\r\n\r\n\r\nk2=  \r\n=orphan\r\n=orphan2\r\nnoequals\r\n",
         {Read("S", "k"), Read("S", " k\t"), Read("S", "k2"), ReadInt("S", "k2"), Read("S", ""),
          Read("S", "noequals"), Read(" S ", "k"), Write("S", "k3", "x"), Write("S", " k4  ", "  v  "),
          Read("S", "k4"), Read("S", "k4  "), Write("  New  ", "a", "b"), Read("New", "a")}},
        {"case",
         "[Sec]\r\nKey=1\r\n[中文节]\r\n键A=2\r\n",
         {Read("SEC", "KEY"), Read("sec", "key"), Read("中文节", "键a"), Write("SEC", "KEY", "9"), Read("Sec", "Key")}},
        {"duplicates",
         "[S]\r\nk=first\r\nk=second\r\n[T]\r\nx=1\r\n[s]\r\nk=third\r\nonly=late\r\n",
         {Read("S", "k"), Read("S", "only"), Read("T", "x"), Write("S", "only", "new"), Read("s", "only"),
          Write("S", "k", "changed")}},
        {"quotes",
         "[Q]\r\nk1=\"a b\"\r\nk2='x'\r\nk3=\"\r\nk4=\"\"\r\nk5=\"abc'\r\nk6=' spaced '\r\nk7=\"12\"\r\nk8='\r\n",
         {Read("Q", "k1"), Read("Q", "k2"), Read("Q", "k3"), Read("Q", "k4"), Read("Q", "k5"), Read("Q", "k6"),
          ReadInt("Q", "k7"), ReadInt("Q", "k4"), Read("Q", "k8"), Read("Q", "none", "\"dq\""),
          Read("Q", "none", "def   "), Read("Q", "none", "   "), Read("Q", "none", ""), Write("Q", "k9", "\"v\""),
          Read("Q", "k9")}},
        {"long",
         "[L]\r\nascii=" + std::string(300, 'a') + "\r\ngbk=" + Repeat(kYun, 150) + "\r\nodd=a" +
             Repeat(kYun, 150) + "\r\nq255=\"" + std::string(254, 'b') + "\"\r\nq256=\"" + std::string(255, 'b') +
             "\"\r\nq253=\"" + std::string(253, 'b') + "\"\r\nint=" + std::string(35, '0') + "12\r\n",
         {Read("L", "ascii"), Read("L", "gbk"), Read("L", "odd"), Read("L", "q255"), Read("L", "q256"),
          Read("L", "q253"), ReadInt("L", "int"), Read("L", "none", std::string(300, 'd')),
          Write("L", "ascii", std::string(400, 'z')), Read("L", "ascii")}},
        {"ints",
         "[I]\r\na=12abc\r\nb=abc\r\nc=-1\r\nd=+5\r\ne=0x1F\r\nf=0o17\r\ng=0b101\r\nh=0X1F\r\ni=4294967297\r\n"
         "j=2147483648\r\nk=１\r\nl=\x01" "5\r\nm=2\r\nn=- 3\r\no=\r\n",
         {ReadInt("I", "a"), ReadInt("I", "b"), ReadInt("I", "c"), ReadInt("I", "d"), ReadInt("I", "e"),
          ReadInt("I", "f"), ReadInt("I", "g"), ReadInt("I", "h"), ReadInt("I", "i"), ReadInt("I", "j"),
          ReadInt("I", "k"), ReadInt("I", "l"), ReadInt("I", "m"), ReadInt("I", "n"), ReadInt("I", "o"),
          ReadInt("I", "missing"), ReadInt("missing", "a", 1)}},
        {"headers",
         "[noclose\r\nk=0\r\n[a]b]\r\nk=1\r\n[" + kBracket + "]\r\nk=2\r\n[]\r\nk=3\r\n[x" + kBracket + "y]\r\nk=4\r\n",
         {Read("", "k"), Read("", "[noclose"), Read("a]b", "k"), Read(kBracket, "k"), Read("x" + kBracket + "y", "k"),
          Write("a]b", "k", "5"), Write("", "z", "6")}},
        {"line-ends",
         "[S]\rk=cr\r\n\nk2=lf\n\x1a\r\nk3=eof\x1a\r\n[T]\n\n\nt=" + kYun + "\\" + kYun,
         {Read("S", "k"), Read("S", "k2"), Read("S", "k3"), Read("T", "t"), Write("T", "t", kYun)}},
        {"missing-file", std::nullopt,
         {Read("S", "k", "H:\\VIDEO"), ReadInt("S", "k", 1), Write("S", "k", "v"), Read("S", "k")}},
        {"empty-file", std::string(), {Read("S", "k"), Write("S", "k", "v")}},
        {"missing-section",
         "[MP4配置]\r\n复制路径=K:\\\r\n",
         {Read("扩展名配置", "扩展名1", ""), ReadInt("扩展名配置", "路径1", 0), Write("扩展名配置", "扩展名1", "*.mp3")}},
        {"no-final-newline", "[S]\r\nk=1", {Read("S", "k"), Write("S", "k2", "2"), Write("S", "k", "")}},
    };
}

std::string SimFile(SimFileSystem& fs, const std::string& path) {
    return fs.exists(path) ? fs.contents(path) : "<no file>";
}

std::string Describe(const Call& c) {
    std::ostringstream out;
    out << (c.kind == Call::Text ? "read " : c.kind == Call::Int ? "readInt " : "write ") << "[" << c.section
        << "] " << c.key << " / " << c.text << " / " << c.number;
    return out.str();
}

class ProfileDiff : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ruz_profile_diff_" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        sim_.addDrive('C', 1LL << 30, 1LL << 30);
        sim_.addFolder("C:\\diff");
    }
    void TearDown() override {
        for (const auto& f : created_) DeleteFileA(f.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    void Run(const Case& c) {
        SCOPED_TRACE(c.name);
        const std::string real = folder_ + c.name + ".ini", simulated = "C:\\diff\\" + c.name + ".ini";
        created_.push_back(real);
        if (c.file) {
            std::ofstream(real, std::ios::binary) << *c.file;
            sim_.addFile(simulated, *c.file);
        }
        for (const auto& call : c.calls) {
            SCOPED_TRACE(Describe(call));
            switch (call.kind) {
            case Call::Text:
                EXPECT_EQ(simStore_.readString(call.section, call.key, call.text, simulated),
                          winStore_.readString(call.section, call.key, call.text, real));
                break;
            case Call::Int:
                EXPECT_EQ(simStore_.readInt(call.section, call.key, call.number, simulated),
                          winStore_.readInt(call.section, call.key, call.number, real));
                break;
            case Call::Write:
                EXPECT_EQ(simStore_.writeString(call.section, call.key, call.text, simulated),
                          winStore_.writeString(call.section, call.key, call.text, real));
                ExpectReadAlike(c, SimFile(sim_, simulated), real);
                break;
            }
        }
    }

    // Every key the case names, read by the system from the program's file and from its own.
    void ExpectReadAlike(const Case& c, const std::string& ours, const std::string& real) {
        const std::string copy = folder_ + c.name + ".ours.ini";
        created_.push_back(copy);
        std::ofstream(copy, std::ios::binary | std::ios::trunc) << ours;
        for (const auto& call : c.calls)
            EXPECT_EQ(winStore_.readString(call.section, call.key, "<def>", copy),
                      winStore_.readString(call.section, call.key, "<def>", real))
                << Describe(call) << "\n" << ours;
    }

    std::string folder_;
    std::vector<std::string> created_;
    SimFileSystem sim_;
    IniProfile simStore_{sim_};
    SystemProfile winStore_;
};

}  // namespace

TEST_F(ProfileDiff, SimulatedStoreFollowsTheSystem) {
    ASSERT_EQ(GetACP(), 936u) << "run with the zh_CN.UTF-8 locale so the ANSI code page is GBK";
    for (const auto& c : Cases()) Run(c);
}
