#include "platform/dir_listing.h"
#include "platform/file_identity.h"
#include "platform/file_path.h"
#include "platform/grown_string.h"
#include "platform/mod_function.h"
#include "platform/short_path.h"
#include "platform/text_file.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::wstring Prefixed(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

// A path of exactly length characters: head, then 'd's.
std::wstring PathOf(size_t length, const std::wstring& head) {
    return head + std::wstring(length - head.size(), L'd');
}

} // namespace

TEST(PathForFileCall, PathsFromTheLimitOnGetThePrefixForTheirKind) {
    const std::wstring drive = L"D:\\下载\\";
    const std::wstring share = L"\\\\nas\\root\\";
    const struct {
        std::wstring path;
        std::wstring handed;
    } cases[] = {
        {PathOf(247, drive), PathOf(247, drive)},
        {PathOf(248, drive), L"\\\\?\\" + PathOf(248, drive)},
        {PathOf(300, L"d:/x/"), L"\\\\?\\" + PathOf(300, L"d:\\x\\")},
        {PathOf(247, share), PathOf(247, share)},
        {PathOf(248, share), L"\\\\?\\UNC\\" + PathOf(248, share).substr(2)},
        {PathOf(300, L"//nas/root/"), L"\\\\?\\UNC\\" + PathOf(300, L"\\\\nas\\root\\").substr(2)},
        // Already in a namespace.
        {PathOf(300, L"\\\\?\\D:\\"), PathOf(300, L"\\\\?\\D:\\")},
        {PathOf(300, L"\\\\?\\UNC\\nas\\root\\"), PathOf(300, L"\\\\?\\UNC\\nas\\root\\")},
        {PathOf(300, L"\\\\.\\D:\\"), PathOf(300, L"\\\\.\\D:\\")},
        // Not full: the prefix would take them as they are, unresolved.
        {PathOf(300, L"sub\\"), PathOf(300, L"sub\\")},
        {PathOf(300, L"..\\x\\"), PathOf(300, L"..\\x\\")},
        {PathOf(300, L"D:sub\\"), PathOf(300, L"D:sub\\")},
        {PathOf(300, L"\\dir\\"), PathOf(300, L"\\dir\\")},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::PathForFileCall(c.path), c.handed)
            << c.path.size() << testing::PrintToString(c.path);
    }
}

// Wine has no path limit, so what shows that a call took the prefixed path is a name ending in a dot: the
// plain form drops the dot, as Windows does, and names another file; the prefixed form keeps it. The test
// itself reaches the files through the prefix only.
TEST(PathForFileCall, EveryFileCallReachesNamesPastMaxPathAsTheyAre) {
    testsupport::ScratchDir dir(L"long");
    std::wstring folder = dir / L"长文件夹";
    while (folder.size() < 300) {
        folder += L"\\长文件夹名称长文件夹名称";
    }
    const std::wstring sub = folder + L"\\sub.";
    testsupport::MakeDir(Prefixed(sub));
    const std::wstring kept = folder + L"\\kept.";
    const std::wstring scratch = testsupport::WindowsPathFromEnv("BRINDLE_SCRATCH");
    const std::wstring onShare = L"\\\\brindle-nas\\scratch" + kept.substr(scratch.size());
    const struct {
        const char* call;
        std::function<bool()> reaches;
    } cases[] = {
        {"CreateFileW (writing)",
         [&] {
             platform::TextFileWriter writer(folder + L"\\new.");
             writer.WriteLine(L"新");
             writer.Close();
             return testsupport::ReadBytes(Prefixed(folder + L"\\new.")) == "\xD0\xC2\r\n";
         }},
        {"CreateFileW (reading)",
         [&] { return platform::HeldFile::Hold(kept).content().rfind("old", 0) == 0; }},
        {"GetFileAttributesW", [&] { return platform::PathExists(kept) && platform::PathExists(sub); }},
        {"GetFileAttributesW through a share", [&] { return platform::PathExists(onShare); }},
        {"FindFirstFileExW",
         [&] {
             platform::DirListing listing;
             return listing.FirstName(kept, platform::attr::Any) == L"kept." &&
                    listing.FirstName(sub + L"\\", platform::attr::Any) == L"." &&
                    ModFunction::FolderExists(sub);
         }},
        {"CreateFileW (identity)",
         [&] { return platform::SameFile(kept, kept) && platform::IdentifyPath(sub).has_value(); }},
        {"GetShortPathNameW",
         [&] {
             const auto shortPath = platform::VerifiedShortPath(sub);
             return shortPath && shortPath->rfind(L"\\\\?\\", 0) == std::wstring::npos;
         }},
        {"MoveFileExW",
         [&] {
             platform::ReplaceWith(folder + L"\\new.", kept);
             return testsupport::ReadBytes(Prefixed(kept)) == "\xD0\xC2\r\n" &&
                    !testsupport::Exists(Prefixed(folder + L"\\new."));
         }},
        {"GetFileAttributesW (a read-only file is not replaced)",
         [&] {
             testsupport::WriteBytes(Prefixed(folder + L"\\ro."), "r");
             testsupport::WriteBytes(Prefixed(folder + L"\\other."), "o");
             ::SetFileAttributesW(Prefixed(folder + L"\\ro.").c_str(), FILE_ATTRIBUTE_READONLY);
             try {
                 platform::ReplaceWith(folder + L"\\other.", folder + L"\\ro.");
             } catch (const platform::Win32Error& error) {
                 return error.code() == ERROR_ACCESS_DENIED &&
                        testsupport::ReadBytes(Prefixed(folder + L"\\ro.")) == "r";
             }
             return false;
         }},
        {"DeleteFileW",
         [&] {
             platform::RemoveFile(kept);
             return !testsupport::Exists(Prefixed(kept));
         }},
    };
    testsupport::WriteBytes(Prefixed(kept), "old\r\n");
    for (const auto& c : cases) {
        bool reached = false;
        try {
            reached = c.reaches();
        } catch (const platform::Win32Error& error) {
            ADD_FAILURE() << c.call << ": " << error.what();
        }
        EXPECT_TRUE(reached) << c.call;
    }
}

// The helper for calls that answer a length: a first buffer too small grows until the whole text fits (a
// Brindle started from a folder past MAX_PATH still finds the archiver beside it), and a failure names its
// subject. The calls that answer the size they need grow in the long-folder runs.
TEST(GrowToFit, AnswersTheWholeTextOrTheCallsError) {
    wchar_t module[MAX_PATH * 4] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH * 4);
    // GetModuleFileNameW cuts the text and answers the buffer's size: the buffer doubles.
    EXPECT_EQ(platform::GrowToFit(
                  "GetModuleFileNameW", L"",
                  [](wchar_t* b, DWORD s) { return ::GetModuleFileNameW(nullptr, b, s); }, 8),
              module);
    testsupport::ScratchDir dir(L"grow");
    try {
        platform::GrowToFit("GetShortPathNameW", L"missing", [&](wchar_t* b, DWORD s) {
            return ::GetShortPathNameW((dir / L"missing").c_str(), b, s);
        });
        ADD_FAILURE() << "no error for a missing file";
    } catch (const platform::Win32Error& error) {
        EXPECT_EQ(error.code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(error.Describe().find(L"missing"), std::wstring::npos);
    }
}
