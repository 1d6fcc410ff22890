#include "name_mask.h"

#include <gtest/gtest.h>

namespace {

// Several masks are ored; no mask at all means everything.
struct MaskCase {
    std::vector<std::wstring> masks;
    std::vector<std::wstring> matching;
    std::vector<std::wstring> others;
};

const MaskCase kCases[] = {
    // Wildcards without a folder part: the name part at any depth.
    {{L"*.txt"}, {L"a.txt", L"x\\y\\a.txt", L"x/y/a.TXT"}, {L"a.txt.bak", L"txt"}},
    {{L"a?c"}, {L"abc"}, {L"ac", L"abbc"}},
    {{L"*.*"}, {L"README", L"dir\\noext", L"a.b.c"}, {}},
    {{L"*"}, {L"deep\\down\\x"}, {}},
    {{L"*."}, {L"README", L"dir\\README"}, {L"a.txt"}},
    {{L"test*.*"}, {L"test", L"testing.bin"}, {L"other.bin"}},
    // Plain names: the root member, and everything below a folder of that name.
    {{L"a.txt"}, {L"a.txt", L"A.TXT"}, {L"sub\\a.txt", L"a.txt2"}},
    {{L"testdir"},
     {L"testdir", L"testdir\\test.txt", L"testdir\\deeper\\x.bin"},
     {L"testdirectory\\x", L"other\\testdir"}},
    // Folder part without wildcards, wildcard name part: below that folder at any depth.
    {{L"docs\\*.txt"},
     {L"docs\\a.txt", L"docs\\sub\\a.txt"},
     {L"a.txt", L"other\\docs\\a.txt", L"docs\\a.bin"}},
    {{L"docs/*.txt"}, {L"DOCS\\a.txt"}, {}},
    // Folder part without wildcards, plain name: that member and what is below it.
    {{L"docs\\a.txt"}, {L"docs\\a.txt"}, {L"docs\\sub\\a.txt"}},
    {{L"docs\\sub"}, {L"docs\\sub\\x"}, {}},
    {{L"docs\\"}, {L"docs", L"docs\\x"}, {}},
    // A wildcard in the folder part globs the whole path.
    {{L"d*\\*.txt"}, {L"docs\\a.txt", L"data\\x\\a.txt"}, {L"a.txt"}},
    {{L"?ocs\\a.txt"}, {L"docs\\a.txt"}, {L"docs\\b.txt"}},
    // Non-ASCII names compare without regard to case too.
    {{L"*.HTM"}, {L"网页\\备份.htm"}, {}},
    {{L"网页"}, {L"网页\\备份.htm"}, {}},
    {{L"*备份*"}, {L"网页\\备份.htm"}, {}},
    {{L"Ä*"}, {L"äpfel.txt"}, {}},
    // A leading "\" or ".\" is the archive's root.
    {{L"\\a.txt"}, {L"a.txt"}, {}},
    {{L".\\a.txt"}, {L"a.txt"}, {}},
    {{L"*.htm", L"*.url"}, {L"a\\b.url", L"b.htm"}, {L"b.html"}},
    {{}, {L"x\\y", L"noext"}, {}},
};

TEST(RarStandinMasks, TableOfRules) {
    for (const MaskCase& c : kCases) {
        for (const bool matches : {true, false}) {
            for (const std::wstring& name : matches ? c.matching : c.others) {
                EXPECT_EQ(rarstandin::AnyMaskMatches(c.masks, name), matches)
                    << testing::PrintToString(c.masks) << " on " << testing::PrintToString(name);
            }
        }
    }
}

} // namespace
