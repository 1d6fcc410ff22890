#include "name_mask.h"

#include <gtest/gtest.h>

namespace {

struct MaskCase {
    const wchar_t* mask;
    const wchar_t* name;
    bool matches;
};

const MaskCase kCases[] = {
    // Wildcards without a folder part: the name part at any depth.
    {L"*.txt", L"a.txt", true},
    {L"*.txt", L"x\\y\\a.txt", true},
    {L"*.txt", L"x/y/a.TXT", true},
    {L"*.txt", L"a.txt.bak", false},
    {L"*.txt", L"txt", false},
    {L"*.htm", L"page.html", false},
    {L"a?c", L"abc", true},
    {L"a?c", L"ac", false},
    {L"a?c", L"abbc", false},
    {L"*.*", L"README", true},
    {L"*.*", L"dir\\noext", true},
    {L"*.*", L"a.b.c", true},
    {L"*", L"deep\\down\\x", true},
    {L"*.", L"README", true},
    {L"*.", L"dir\\README", true},
    {L"*.", L"a.txt", false},
    {L"test*.*", L"test", true},
    {L"test*.*", L"testing.bin", true},
    {L"test*.*", L"other.bin", false},
    // Plain names: the root member, and everything below a folder of that name.
    {L"a.txt", L"a.txt", true},
    {L"A.TXT", L"a.txt", true},
    {L"a.txt", L"sub\\a.txt", false},
    {L"a.txt", L"a.txt2", false},
    {L"testdir", L"testdir", true},
    {L"testdir", L"testdir\\test.txt", true},
    {L"testdir", L"testdir\\deeper\\x.bin", true},
    {L"testdir", L"testdirectory\\x", false},
    {L"testdir", L"other\\testdir", false},
    // Folder part without wildcards, wildcard name part: below that folder at any depth.
    {L"docs\\*.txt", L"docs\\a.txt", true},
    {L"docs\\*.txt", L"docs\\sub\\a.txt", true},
    {L"docs/*.txt", L"DOCS\\a.txt", true},
    {L"docs\\*.txt", L"a.txt", false},
    {L"docs\\*.txt", L"other\\docs\\a.txt", false},
    {L"docs\\*.txt", L"docs\\a.bin", false},
    // Folder part without wildcards, plain name: that member and what is below it.
    {L"docs\\a.txt", L"docs\\a.txt", true},
    {L"docs\\sub", L"docs\\sub\\x", true},
    {L"docs\\a.txt", L"docs\\sub\\a.txt", false},
    {L"docs\\", L"docs", true},
    {L"docs\\", L"docs\\x", true},
    // A wildcard in the folder part globs the whole path.
    {L"d*\\*.txt", L"docs\\a.txt", true},
    {L"d*\\*.txt", L"data\\x\\a.txt", true},
    {L"d*\\*.txt", L"a.txt", false},
    {L"?ocs\\a.txt", L"docs\\a.txt", true},
    {L"?ocs\\a.txt", L"docs\\b.txt", false},
    // Non-ASCII names compare without regard to case too.
    {L"*.HTM", L"网页\\备份.htm", true},
    {L"网页", L"网页\\备份.htm", true},
    {L"*备份*", L"网页\\备份.htm", true},
    {L"Ä*", L"äpfel.txt", true},
    {L"\\a.txt", L"a.txt", true},
    {L".\\a.txt", L"a.txt", true},
};

TEST(RarStandinMasks, TableOfRules) {
    for (const MaskCase& c : kCases) {
        EXPECT_EQ(rarstandin::MaskMatches(c.mask, c.name), c.matches)
            << "mask " << testing::PrintToString(std::wstring(c.mask)) << " on "
            << testing::PrintToString(std::wstring(c.name));
    }
}

// Several masks are ored; no mask at all means everything.
TEST(RarStandinMasks, AnyOfSeveral) {
    struct Case {
        std::vector<std::wstring> masks;
        const wchar_t* name;
        bool matches;
    };
    const Case cases[] = {
        {{L"*.htm", L"*.url"}, L"a\\b.url", true},
        {{L"*.htm", L"*.url"}, L"b.htm", true},
        {{L"*.htm", L"*.url"}, L"b.html", false},
        {{}, L"x\\y", true},
        {{}, L"noext", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rarstandin::AnyMaskMatches(c.masks, c.name), c.matches)
            << c.masks.size() << " masks on " << testing::PrintToString(std::wstring(c.name));
    }
}

} // namespace
