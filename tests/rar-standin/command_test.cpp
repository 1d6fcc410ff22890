#include "archive_builders.h"

#include "commands.h"
#include "console_out.h"
#include "text_codec.h"
#include "vint.h"

#include "platform/child_process.h"
#include "platform/sys_api.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

namespace {

using namespace standintest;
using rarstandin::RecordingOutput;

struct Result {
    int exitCode = 0;
    std::wstring text;
};

Result RunRar(const std::vector<std::wstring>& args) {
    RecordingOutput out;
    const int exitCode = rarstandin::RunCommand(args, out);
    return {exitCode, out.text()};
}

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

std::vector<std::wstring> MemberNamesIn(const std::wstring& path) {
    rarstandin::FileSource source(path);
    return MemberNames(rarstandin::ReadLayout(source, path));
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring());
    }
    return names;
}

class RarStandinCommand : public ::testing::Test {
  protected:
    testsupport::ScratchDir dir_{L"rar-standin-command"};
    std::wstring Write(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = dir_ / name;
        testsupport::WriteBytes(path, bytes);
        return path;
    }
};

TEST_F(RarStandinCommand, DeletesMatchingMembersAndLeavesNothingElseBehind) {
    const auto path =
        Write(L"a.rar", Rar5Archive({{L"keep.bin", "k"}, {L"x\\页.htm", "h"}, {L"b.url", "u"}}));
    const Result result = RunRar({L"d", path, L"*.htm", L"*.URL"});
    EXPECT_EQ(result.exitCode, 0) << result.text;
    EXPECT_EQ(result.text, std::wstring(rarstandin::kBanner) + L"\n\nDeleting from " + path +
                               L"\nDeleting x\\页.htm\nDeleting b.url\nDone\n");
    EXPECT_EQ(MemberNamesIn(path), std::vector<std::wstring>{L"keep.bin"});
    EXPECT_EQ(FolderEntries(dir_.path()), std::vector<std::wstring>{L"a.rar"});
}

// What "d" takes: a folder with what is in it; every member when no mask is given, also when only switches
// are; -x leaves what it matches; after "--" a word that begins with '-' is a mask. An archive left with
// no member is erased.
TEST_F(RarStandinCommand, DeletesWhatTheMasksAndSwitchesSelect) {
    struct Case {
        std::wstring name;
        std::string bytes;
        std::vector<std::wstring> words; // after the archive
        std::vector<std::wstring> left;
    };
    const Members three{{L"a.txt", "1"}, {L"b\\c.htm", "2"}, {L"-r", "3"}};
    const Case cases[] = {
        {L"folder.rar", Rar4Archive({{L"d\\", ""}, {L"d\\a", "1"}}), {L"d"}, {}},
        {L"nomask.rar", Rar5Archive(three), {}, {}},
        {L"switches.rar", Rar5Archive(three), {L"-r", L"-ep1"}, {}},
        {L"ended.rar", Rar4Archive(three), {L"--"}, {}},
        {L"excluded.rar", Rar5Archive(three), {L"-x*.txt"}, {L"a.txt"}},
        {L"excludedmask.rar", Rar4Archive(three), {L"-xb\\*", L"*.htm", L"a.txt"}, {L"b\\c.htm", L"-r"}},
        {L"dashname.rar", Rar5Archive(three), {L"--", L"-r"}, {L"a.txt", L"b\\c.htm"}},
    };
    for (const auto& c : cases) {
        const auto path = Write(c.name, c.bytes);
        std::vector<std::wstring> args{L"d", path};
        args.insert(args.end(), c.words.begin(), c.words.end());
        const Result result = RunRar(args);
        EXPECT_EQ(result.exitCode, 0) << result.text;
        if (c.left.empty()) {
            EXPECT_FALSE(testsupport::Exists(path)) << testsupport::ToUnixPath(path);
        } else {
            EXPECT_EQ(MemberNamesIn(path), c.left) << testsupport::ToUnixPath(path);
        }
    }
    EXPECT_EQ(FolderEntries(dir_.path()).size(), 3u) << "no temp file left";
}

TEST_F(RarStandinCommand, RefusedArchivesStayByteIdentical) {
    struct Refusal {
        std::wstring name;
        std::string bytes;
        int exitCode;
        std::wstring message;
    };
    const Members two{{L"a", "1"}, {L"b", "2"}};
    const std::string good4 = Rar4Archive({{L"a", "hello"}});
    const std::string good5 = Rar5Archive({{L"a", "hello"}});
    std::string badCrc4 = good4;
    badCrc4[25] ^= 0x01;
    std::string badCrc5 = good5;
    badCrc5[20] ^= 0x01;
    const std::string sig4(rar4::kSignature);
    const std::string sig5 = std::string(rar5::kSignature) +
                             rarstandin::MakeRar5Header(rar5::HeaderType::Main, 0, rarstandin::EncodeVint(0));
    const std::vector<Refusal> refusals{
        {L"locked5.rar", Rar5Archive(two, rar5::kArchiveLocked), 4, L"Locked archive"},
        {L"locked4.rar", Rar4Archive(two, rar4::kMainLocked), 4, L"Locked archive"},
        {L"volume5.rar", Rar5Archive(two, rar5::kArchiveVolume), 2, L"Cannot modify volume"},
        // A member split across volumes in an archive without the volume flag.
        {L"split5.rar", sig5 + Rar5Block(rar5::HeaderType::File, L"a", rar5::kSplitAfter, "1"), 2, L"volume"},
        {L"split4.rar", sig4 + Rar4Block(rar4::HeaderType::File, L"a", rar4::kFileSplitAfter, "1"), 2,
         L"volume"},
        {L"solid5.rar", Rar5Archive(two, rar5::kArchiveSolid), 2, L"solid archive"},
        // A solid member in an archive without the solid flag.
        {L"solidmember5.rar", sig5 + Rar5Block(rar5::HeaderType::File, L"a", 0, "1", rar5::kCompressionSolid),
         2, L"solid archive"},
        // Nothing past an encrypted main header is read.
        {L"encrypted4.rar", Rar4Archive({{L"a", "1"}}, rar4::kMainEncryptedHeaders) + "not a header", 2,
         L"encrypted"},
        {L"encrypted5.rar",
         std::string(rar5::kSignature) +
             rarstandin::MakeRar5Header(rar5::HeaderType::Encryption, 0, std::string(33, '\x01')) +
             std::string(40, '\x5A'),
         2, L"encrypted"},
        {L"text.rar", "just some text, not an archive", 2, L"text.rar is not RAR archive"},
        {L"empty.rar", "", 2, L"empty.rar is not RAR archive"},
        // Nothing to delete, even from a solid archive: exit 10.
        {L"none.rar", Rar5Archive({{L"x.txt", "1"}}), 10, L"\nNo files to delete\n"},
        // Damage is an error, not a crash.
        {L"crc4.rar", badCrc4, 3, L"corrupt"},
        {L"cutdata4.rar", good4.substr(0, good4.size() - 10), 3, L"Unexpected end"},
        {L"cuthead4.rar", good4.substr(0, 10), 3, L"Unexpected end"},
        {L"small4.rar",
         sig4 + rarstandin::MakeRar4Header(rar4::HeaderType::Main, 0, std::string(6, '\0')) +
             std::string("\x00\x00\x74\x00\x80\x03\x00", 7),
         3, L"corrupt"},
        // Data past the end by its high 32 bits of size.
        {L"big4.rar",
         sig4 + rarstandin::MakeRar4FileHeader(rar4::HeaderType::File, 0, Member(L"a"), 0x100000005ull, 0) +
             "12345",
         3, L"Unexpected end"},
        {L"crc5.rar", badCrc5, 3, L"corrupt"},
        {L"cutdata5.rar", good5.substr(0, good5.size() - 12), 3, L"Unexpected end"},
        {L"cuthead5.rar", good5.substr(0, 11), 3, L"Unexpected end"},
        {L"longhead5.rar", std::string(rar5::kSignature) + std::string("\0\0\0\0\xFF\xFF\x7F", 7), 3,
         L"Unexpected end"},
        {L"endlesssize5.rar", std::string(rar5::kSignature) + std::string(4, '\0') + "\x80\x80\x80\x80", 3,
         L"Unexpected end"},
    };
    for (const auto& refusal : refusals) {
        const auto path = Write(refusal.name, refusal.bytes);
        const Result result = RunRar({L"d", path, L"a"});
        EXPECT_EQ(result.exitCode, refusal.exitCode) << testsupport::ToUnixPath(path);
        EXPECT_TRUE(Contains(result.text, refusal.message)) << testsupport::ToUnixPath(path);
        EXPECT_EQ(testsupport::ReadBytes(path), refusal.bytes) << testsupport::ToUnixPath(path);
    }
    EXPECT_EQ(FolderEntries(dir_.path()).size(), refusals.size()) << "no temp file left";
}

TEST_F(RarStandinCommand, CommandLineAndOpenErrors) {
    Write(L"noext.rar", Rar5Archive({{L"a", "1"}, {L"b", "2"}}));
    const std::tuple<std::vector<std::wstring>, int, std::wstring> cases[] = {
        {{L"x", dir_ / L"a.rar"}, 7, L"Unknown command"},
        {{L"d", L"-qq", dir_ / L"a.rar"}, 7, L"Unknown option"},
        {{}, 0, L"\nUsage:"},
        {{L"d", dir_ / L"missing.rar", L"*"}, 6, L"Cannot open"},
        {{L"d", dir_ / L"noext", L"a"}, 0, L"Done"}, // the name gets .rar
    };
    for (const auto& [args, exitCode, message] : cases) {
        const Result result = RunRar(args);
        EXPECT_EQ(result.exitCode, exitCode) << result.text;
        EXPECT_TRUE(Contains(result.text, message)) << result.text;
    }
    EXPECT_EQ(MemberNamesIn(dir_ / L"noext.rar"), std::vector<std::wstring>{L"b"});
}

TEST_F(RarStandinCommand, AddStoresFoldersRecursivelyRelativeToTheCurrentFolder) {
    testsupport::MakeDir(dir_ / L"src");
    testsupport::MakeDir(dir_ / L"src\\子目录");
    testsupport::WriteBytes(dir_ / L"src\\子目录\\文件.txt", "内容");
    testsupport::WriteBytes(dir_ / L"top.txt", "top");
    wchar_t previous[MAX_PATH * 2] = {};
    ::GetCurrentDirectoryW(MAX_PATH * 2, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(dir_.path().c_str()));
    const Result five = RunRar({L"a", L"five.rar", L"src", dir_ / L"top.txt"});
    const Result four = RunRar({L"a", L"-ma4", L"four", L".\\src\\", L"*.txt"});
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(five.exitCode, 0) << five.text;
    EXPECT_EQ(four.exitCode, 0) << four.text;
    const std::vector<std::wstring> expected{L"src", L"src\\子目录", L"src\\子目录\\文件.txt", L"top.txt"};
    EXPECT_EQ(MemberNamesIn(dir_ / L"five.rar"), expected);
    EXPECT_EQ(MemberNamesIn(dir_ / L"four.rar"), expected);
    EXPECT_EQ(Layout(testsupport::ReadBytes(dir_ / L"five.rar")).format, rarstandin::RarFormat::Rar5);
    EXPECT_EQ(Layout(testsupport::ReadBytes(dir_ / L"four.rar")).format, rarstandin::RarFormat::Rar4);
}

// The way the program calls the archiver: a batch line with 8.3 paths, output read through a pipe in ANSI.
TEST_F(RarStandinCommand, BatchLineWithShortPathsGivesAnsiOutputWithCrLf) {
    const std::wstring exe = testsupport::WindowsPathFromEnv("RAR_STANDIN_EXE");
    ASSERT_FALSE(exe.empty()) << "RAR_STANDIN_EXE is not set";
    testsupport::MakeDir(dir_ / L"工具 目录");
    ASSERT_TRUE(::CopyFileW(exe.c_str(), (dir_ / L"工具 目录\\Rar.exe").c_str(), FALSE));
    testsupport::MakeDir(dir_ / L"网页 备份");
    const auto archive = Write(L"网页 备份\\我的 归档.rar",
                               Rar4Archive({{L"保留.txt", "k"}, {L"页面.htm", "h"}, {L"链接.url", "u"}}));
    const std::wstring shortExe = sysAPI::GetShortPath(dir_ / L"工具 目录\\Rar.exe");
    const std::wstring shortArchive = sysAPI::GetShortPath(archive);
    ASSERT_FALSE(shortExe.empty());
    ASSERT_FALSE(shortArchive.empty());
    const std::wstring line = shortExe + L" d " + shortArchive + L" *.htm *.url";
    testsupport::WriteBytes(dir_ / L"run.bat",
                            "@echo off\r\n" + rarstandin::ToCodePageLossy(line, CP_ACP) + "\r\n");

    // Standard output and error in one pipe, as the program's command runner reads them.
    platform::PipedChild child(L"cmd.exe /c \"" + (dir_ / L"run.bat") + L"\"");
    std::string bytes;
    DWORD interpreter = 0;
    std::optional<DWORD> exitCode;
    using Kind = platform::ChildNotice::Kind;
    for (auto notice = child.Next(); notice.kind != Kind::Finished; notice = child.Next()) {
        if (notice.kind == Kind::Output) {
            bytes += notice.output;
        } else if (notice.kind == Kind::ProcessStarted && interpreter == 0) {
            interpreter = notice.processId;
        } else if (notice.kind == Kind::ProcessEnded && notice.processId == interpreter) {
            exitCode = notice.exitCode;
        }
    }
    EXPECT_EQ(exitCode, std::optional<DWORD>(0));
    const std::string expected = rarstandin::ToCodePageLossy(
        std::wstring(rarstandin::kBanner) + L"\r\n\r\nDeleting from " + shortArchive +
            L"\r\nDeleting 页面.htm\r\nDeleting 链接.url\r\nDone\r\n",
        CP_ACP);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(MemberNamesIn(archive), std::vector<std::wstring>{L"保留.txt"});
    EXPECT_EQ(FolderEntries(dir_ / L"网页 备份"), std::vector<std::wstring>{L"我的 归档.rar"});
}

} // namespace
