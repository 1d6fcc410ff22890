// The pure rules that decide what reaches the archiver and what the log shows, called directly.

#include "job/batch_file.h"
#include "job/batch_text.h"
#include "job/log_entry.h"
#include "job/refusal.h"
#include "job/run_summary.h"
#include "job/wildcard.h"
#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

// Each archive's line hands the archiver the path and the masks as typed, whatever the interpreter makes of
// blanks, '%', '&', '^', '<', '>' and '|'.
TEST(BatchText, PathsAndPatternsReachTheArchiverAsTyped) {
    const std::wstring rar = L"\"C:\\My Tools\\Rar.exe\" d ";
    const struct {
        std::wstring path, pattern, line;
    } cases[] = {{L"D:\\ARCHIV~1\\A.RAR", L"*.htm *.url", rar + L"D:\\ARCHIV~1\\A.RAR *.htm *.url"},
                 {L"D:\\my files\\a.rar", L"a&b.txt", rar + L"\"D:\\my files\\a.rar\" a^&b.txt"},
                 {L"D:\\100%\\a.rar", L"100%.txt", rar + L"D:\\100%%\\a.rar 100%%.txt"},
                 {L"D:\\a&b\\c.rar", L"<d>|e ^c", rar + L"\"D:\\a&b\\c.rar\" ^<d^>^|e ^^c"},
                 {L"D:\\a,b;c=d\\(e)\\x.rar", L"\"x y&z.txt\" a&b",
                  rar + L"\"D:\\a,b;c=d\\(e)\\x.rar\" \"x y&z.txt\" a^&b"},
                 {L"D:\\%OS% x\\a.rar", L"\"50%.txt\"", rar + L"\"D:\\%%OS%% x\\a.rar\" \"50%%.txt\""},
                 // An unclosed quote protects to the end, as the interpreter reads it.
                 {L"D:\\a^b\\c.rar", L"\"open&", rar + L"\"D:\\a^b\\c.rar\" \"open&"}};
    for (const auto& c : cases) {
        EXPECT_EQ(job::BatchLine(L"C:\\My Tools\\Rar.exe", c.path, c.pattern), c.line)
            << testing::PrintToString(c.line);
    }
}

// The interpreter reads a batch in the OEM code page; where that is not the ANSI one, a character that
// reads back as another would name another archive or member.
TEST(BatchText, OnlyTextTheInterpreterReadsBackAsWrittenGoesIntoTheBatch) {
    const struct {
        std::wstring text;
        unsigned ansi, oem;
        bool carried;
    } cases[] = {{L"D:\\Caf\u00E9\\a.rar", 1252, 850, false},
                 {L"D:\\Cafe\\a.rar", 1252, 850, true},
                 {L"D:\\\u7F51\u9875\\a.rar", 936, 936, true},
                 {L"D:\\\uD55C\\a.rar", 936, 936, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(platform::TryToBatchText(c.text, c.ansi, c.oem).has_value(), c.carried)
            << testing::PrintToString(c.text);
    }
}

// The interpreter reads 8191 bytes of a line, a Chinese character taking two: a longer line is refused, as is
// one the code page cannot hold. The head of each line here is 30 characters.
TEST(ArchiveLines, ALineLongerThanTheInterpreterReadsIsRefusedByItsBytes) {
    job::JobState form;
    form.strRarExe = L"Z:\\TOOLS~1\\RAR.EXE";
    form.strFileList = L"Z:\\A.RAR| |Z:\\B.RAR|";
    const std::wstring head = L"Z:\\TOOLS~1\\RAR.EXE d Z:\\A.RAR ";
    const struct {
        std::wstring pattern;
        bool fits;
    } cases[] = {{std::wstring(8161, L'x'), true},
                 {std::wstring(8162, L'x'), false},
                 {std::wstring(4080, L'\u7F51') + L"x", true},
                 {std::wstring(4081, L'\u7F51'), false},
                 {L"a\uD55Cb", false}};
    for (const auto& c : cases) {
        if (c.fits) {
            const auto lines = job::ArchiveLines(form, c.pattern);
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines.front(), head + c.pattern);
        } else {
            EXPECT_THROW(job::ArchiveLines(form, c.pattern), job::Refusal) << c.pattern.size();
        }
    }
}

// The archiver takes every member for a mask that matches every name, and for no mask at all once its
// switches (words that begin with '-', up to a word "--") are set aside.
TEST(PatternRules, WhatEmptiesWholeArchivesIsNamedInTheQuestion) {
    const struct {
        std::wstring pattern;
        bool asked, noMask;
        std::wstring named;
    } cases[] = {{L"*", true, false, L"*"},
                 {L"*.*", true, false, L"*.*"},
                 {L"**", true, false, L"**"},
                 {L"*.htm  *", true, false, L"*"},
                 {L"\"*.*\"", true, false, L"*.*"},
                 {L"*\\*", true, false, L"*\\*"},
                 {L"*\\*.*", true, false, L"*\\*.*"},
                 {L"*/*", true, false, L"*/*"},
                 {L".\\*", true, false, L".\\*"},
                 {L"-r *.*", true, false, L"*.*"},
                 {L"-r", true, true, L"-r"},
                 {L" -x*.txt ", true, true, L"-x*.txt"},
                 {L"-r -ep1", true, true, L"-r -ep1"},
                 {L"\"-r\"", true, true, L"\"-r\""},
                 {L"--", true, true, L"--"},
                 {L"-r \"\"", true, true, L"-r \"\""},
                 {L"\"-r *.htm\"", true, true, L"\"-r *.htm\""}, // one word, and a switch
                 {L"*.*htm", false, false, L""},
                 {L"?*.txt", false, false, L""},
                 {L"-r *.htm", false, false, L""},
                 {L"-- -r", false, false, L""},
                 {L"a\\*.txt", false, false, L""},
                 {L"a\\*", false, false, L""}};
    for (const auto& c : cases) {
        const auto what = job::WhatEmptiesWholeArchives(c.pattern);
        ASSERT_EQ(what.has_value(), c.asked) << testing::PrintToString(c.pattern);
        if (what) {
            EXPECT_EQ(what->noMask, c.noMask) << testing::PrintToString(c.pattern);
            EXPECT_EQ(what->text, c.named) << testing::PrintToString(c.pattern);
        }
    }
}

// Only a run that deletes is said to delete; a batch-only run asks about the batch it writes.
TEST(PatternRules, TheQuestionSaysWhatTheRunDoes) {
    const struct {
        job::EmptyingPattern what;
        bool batchOnly;
        std::wstring question;
    } cases[] = {
        {{false, L"*.*"},
         false,
         L"要删除的文件类型“*.*”会删除压缩包中的全部文件，压缩包本身也会被删除。确定要继续吗？"},
        {{false, L"*.*"},
         true,
         L"要删除的文件类型“*.*”会让批处理文件删除压缩包中的全部文件（压缩包本身也会被删除）。"
         L"确定要生成这个批处理文件吗？"},
        {{true, L"-r"},
         false,
         L"要删除的文件类型“-r”中除了开关（以“-”开头的部分）没有文件名或通配符，Rar.exe "
         L"会因此删除压缩包中的全部文件，压缩包本身也会被删除。确定要继续吗？"},
        {{true, L"-r"},
         true,
         L"要删除的文件类型“-r”中除了开关（以“-”开头的部分）没有文件名或通配符，批处理文件会因此让 Rar.exe "
         L"删除压缩包中的全部文件（压缩包本身也会被删除）。确定要生成这个批处理文件吗？"}};
    for (const auto& c : cases) {
        EXPECT_EQ(job::EmptiesWholeArchivesQuestion(c.what, c.batchOnly), c.question);
    }
}

// A control character would end the batch line and run the rest as a command; a tab is a blank.
TEST(PatternRules, ControlCharactersAreRefused) {
    const struct {
        std::wstring pattern;
        bool refused;
    } cases[] = {{L"*.htm\r\ndel *.*", true},    {L"*.htm\ndel", true}, {L"*.htm\r", true},
                 {std::wstring(1, L'\0'), true}, {L"\x1F.txt", true},   {L"a\x7F.txt", true},
                 {L"*.htm\t*.url", false},       {L"\x20.txt", false},  {L"\x80.txt", false},
                 {L"网页 *.htm", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(job::HoldsControlCharacter(c.pattern), c.refused) << testing::PrintToString(c.pattern);
    }
}

TEST(Wildcard, MatchesAsTheSystemsSearchDoes) {
    const struct {
        const wchar_t *pattern, *name;
        bool matches;
    } cases[] = {{L"*.RAR", L"A.RAR", true},   {L"*.RAR", L"A.RAR.BAK", false}, {L"*.RAR", L".RAR", true},
                 {L"?.RAR", L"AB.RAR", false}, {L"??.RAR", L"AB.RAR", true},    {L"*", L"", true},
                 {L"A*B*C", L"AXXBYYC", true}, {L"A*B*C", L"AXXBYY", false},    {L"*AB", L"AAB", true},
                 {L"**.TXT", L"X.TXT", true},  {L"*.rar", L"A.RAR", false},     {L"", L"A", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(job::WildcardMatch(c.pattern, c.name), c.matches)
            << testing::PrintToString(c.pattern) << " " << testing::PrintToString(c.name);
    }
}

// Each log entry: its time, a rule, the message (a NUL shown as ␀), a rule; the same built piece by piece.
TEST(LogEntryText, TimeRuleMessageRuleWhateverTheMessage) {
    SYSTEMTIME at{};
    at.wHour = 9;
    at.wMinute = 5;
    const std::wstring rule(60, L'-'), head = L"09:05\r\n" + rule + L"\r\n";
    const struct {
        bool logIsEmpty;
        std::wstring message, entry;
    } cases[] = {{true, L"a", head + L"a\r\n" + rule},
                 {false, L"a", L"\r\n" + head + L"a\r\n" + rule},
                 {true, L"", head + L"\r\n" + rule},
                 {true, L"x\r\n", head + L"x\r\n\r\n" + rule},
                 {true, std::wstring(L"a\0b", 3), head + L"a\u2400b\r\n" + rule}};
    for (const auto& c : cases) {
        EXPECT_EQ(job::LogEntry(c.logIsEmpty, at, c.message), c.entry);
        const std::wstring pieces =
            job::LogEntryHead(c.logIsEmpty, at) + job::LogEntryText(c.message.substr(0, 1)) +
            job::LogEntryText(c.message.substr(std::min<size_t>(1, c.message.size()))) + job::LogEntryTail();
        EXPECT_EQ(pieces, c.entry);
    }
}

TEST(RunSummary, EachArchiveByItsRealNameWithTheReasonItsExitCodeGives) {
    using job::ArchiveOutcome;
    const std::vector<ArchiveOutcome> outcomes = {{L"D:\\a.rar", true, 0, false},
                                                  {L"D:\\全部.rar", true, 0, true},
                                                  {L"D:\\none.rar", true, 10, false},
                                                  {L"D:\\locked.rar", true, 4, false},
                                                  {L"D:\\crc.rar", true, 3, false},
                                                  {L"D:\\crash.rar", true, 0xC0000005, false},
                                                  {L"D:\\lost.rar", true, std::nullopt, false},
                                                  {L"D:\\later.rar", false, std::nullopt, false}};
    EXPECT_EQ(
        job::SummaryMessage(outcomes),
        L"共 8 个压缩文件：删除了文件的 2 个，没有匹配文件的 1 个，失败 4 个，未处理（已停止）1 个。\r\n"
        L"失败的压缩文件：\r\n"
        L"  D:\\locked.rar：压缩文件已被锁定，无法修改（退出代码 4）\r\n"
        L"  D:\\crc.rar：压缩文件已损坏（CRC 校验错误）（退出代码 3）\r\n"
        L"  D:\\crash.rar：异常退出（退出代码 0xC0000005）\r\n"
        L"  D:\\lost.rar：无法得知 Rar.exe 的退出代码\r\n"
        L"未处理的压缩文件：\r\n"
        L"  D:\\later.rar\r\n"
        L"处理后已不存在的压缩文件（其中的文件已全部删除）：\r\n"
        L"  D:\\全部.rar");
    EXPECT_EQ(job::StoppedMessage(outcomes, false), L"运行已停止，1 个压缩文件未处理。");
    // Not stopped, yet not every archive was processed: the batch ended early.
    EXPECT_EQ(job::SummaryMessage({outcomes.back()}, false).substr(0, 56),
              L"共 1 个压缩文件：删除了文件的 0 个，没有匹配文件的 0 个，失败 0 "
              L"个，未处理（批处理提前结束）1 个。");
}
