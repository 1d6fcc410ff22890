// The pure rules that decide what reaches the archiver and what the log shows, called directly: quoting and
// escaping for the batch, the wildcard match, the log entry's text, and the summary by exit code.

#include "job/batch_text.h"
#include "job/log_entry.h"
#include "job/run_summary.h"
#include "job/wildcard.h"

#include <gtest/gtest.h>

#include <string>

TEST(BatchText, PathsAndPatternsReachTheArchiverAsTyped) {
    const struct {
        std::wstring path, quoted;
    } paths[] = {
        {L"D:\\ARCHIV~1\\A.RAR", L"D:\\ARCHIV~1\\A.RAR"},
        {L"D:\\my files\\a.rar", L"\"D:\\my files\\a.rar\""},
        {L"D:\\100%\\a.rar", L"D:\\100%%\\a.rar"},
        {L"D:\\a&b\\c.rar", L"\"D:\\a&b\\c.rar\""},
        {L"D:\\a,b;c=d\\(e)\\x.rar", L"\"D:\\a,b;c=d\\(e)\\x.rar\""},
        {L"D:\\%OS% x\\a.rar", L"\"D:\\%%OS%% x\\a.rar\""},
        {L"D:\\a^b\\c.rar", L"\"D:\\a^b\\c.rar\""},
    };
    for (const auto& c : paths) {
        EXPECT_EQ(job::QuoteIfNeeded(c.path), c.quoted) << testing::PrintToString(c.path);
    }
    const struct {
        std::wstring pattern, escaped;
    } patterns[] = {
        {L"*.htm *.url", L"*.htm *.url"},
        {L"a&b.txt", L"a^&b.txt"},
        {L"100%.txt", L"100%%.txt"},
        {L"<d>|e ^c", L"^<d^>^|e ^^c"},
        {L"\"x y&z.txt\" a&b", L"\"x y&z.txt\" a^&b"},
        {L"\"50%.txt\"", L"\"50%%.txt\""},
        {L"\"open&", L"\"open&"}, // an unclosed quote protects to the end, as the interpreter reads it
    };
    for (const auto& c : patterns) {
        EXPECT_EQ(job::EscapeForBatch(c.pattern), c.escaped) << testing::PrintToString(c.pattern);
    }
}

// The boundary is the interpreter's: 8191 bytes of a line, a Chinese character taking two.
TEST(BatchText, ALineFitsUpTo8191BytesOfTheCodePage) {
    const struct {
        std::wstring line;
        bool fits;
    } cases[] = {
        {std::wstring(8191, L'x'), true},
        {std::wstring(8192, L'x'), false},
        {std::wstring(4095, L'\u7F51') + L"x", true},
        {std::wstring(4096, L'\u7F51'), false},
        {L"a\uD55Cb", false}, // a character the code page cannot hold
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::FitsOnABatchLine(c.line), c.fits) << c.line.size();
    }
}

TEST(Wildcard, MatchesAsTheSystemsSearchDoes) {
    const struct {
        const wchar_t* pattern;
        const wchar_t* name;
        bool matches;
    } cases[] = {
        {L"*.RAR", L"A.RAR", true},   {L"*.RAR", L"A.RAR.BAK", false}, {L"*.RAR", L".RAR", true},
        {L"?.RAR", L"AB.RAR", false}, {L"??.RAR", L"AB.RAR", true},    {L"*", L"", true},
        {L"A*B*C", L"AXXBYYC", true}, {L"A*B*C", L"AXXBYY", false},    {L"*AB", L"AAB", true},
        {L"**.TXT", L"X.TXT", true},  {L"*.rar", L"A.RAR", false},     {L"", L"A", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::WildcardMatch(c.pattern, c.name), c.matches)
            << testing::PrintToString(c.pattern) << " " << testing::PrintToString(c.name);
    }
}

TEST(LogEntryText, TimeRuleMessageRuleWhateverTheMessage) {
    SYSTEMTIME at{};
    at.wHour = 9;
    at.wMinute = 5;
    const std::wstring rule(60, L'-');
    const struct {
        bool logIsEmpty;
        std::wstring message, entry;
    } cases[] = {
        {true, L"a", L"09:05\r\n" + rule + L"\r\na\r\n" + rule},
        {false, L"a", L"\r\n09:05\r\n" + rule + L"\r\na\r\n" + rule},
        {true, L"", L"09:05\r\n" + rule + L"\r\n\r\n" + rule},
        {true, L"x\r\n", L"09:05\r\n" + rule + L"\r\nx\r\n\r\n" + rule},
        {true, std::wstring(L"a\0b", 3), L"09:05\r\n" + rule + L"\r\na\u2400b\r\n" + rule},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::LogEntry(c.logIsEmpty, at, c.message), c.entry);
        // The same entry built piece by piece, as a run's output arrives.
        const std::wstring pieces =
            job::LogEntryHead(c.logIsEmpty, at) + job::LogEntryText(c.message.substr(0, 1)) +
            job::LogEntryText(c.message.substr(std::min<size_t>(1, c.message.size()))) + job::LogEntryTail();
        EXPECT_EQ(pieces, c.entry);
    }
}

TEST(RunSummary, EachArchiveByItsRealNameWithTheReasonItsExitCodeGives) {
    using job::ArchiveOutcome;
    const std::vector<ArchiveOutcome> outcomes = {
        {L"D:\\a.rar", true, 0, false},
        {L"D:\\全部.rar", true, 0, true},
        {L"D:\\none.rar", true, 10, false},
        {L"D:\\locked.rar", true, 4, false},
        {L"D:\\crc.rar", true, 3, false},
        {L"D:\\crash.rar", true, 0xC0000005, false},
        {L"D:\\lost.rar", true, std::nullopt, false},
        {L"D:\\later.rar", false, std::nullopt, false},
    };
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
    const struct {
        unsigned long code;
        std::wstring reason;
    } codes[] = {
        {1, L"警告（出现非致命错误）（退出代码 1）"},
        {2, L"致命错误（退出代码 2）"},
        {5, L"写入错误（退出代码 5）"},
        {6, L"打开文件错误（退出代码 6）"},
        {7, L"命令行错误（退出代码 7）"},
        {8, L"内存不足（退出代码 8）"},
        {9, L"无法创建文件（退出代码 9）"},
        {11, L"密码错误（退出代码 11）"},
        {255, L"已被用户中止（退出代码 255）"},
        {12, L"异常退出（退出代码 0x0000000C）"},
    };
    for (const auto& c : codes) {
        EXPECT_EQ(job::ExitCodeReason(c.code), c.reason);
    }
    EXPECT_EQ(job::StoppedMessage(outcomes, false), L"运行已停止，1 个压缩文件未处理。");
    // Not stopped, yet not every archive was processed: the batch ended early.
    EXPECT_EQ(job::SummaryMessage({outcomes.back()}, false).substr(0, 56),
              L"共 1 个压缩文件：删除了文件的 0 个，没有匹配文件的 0 个，失败 0 "
              L"个，未处理（批处理提前结束）1 个。");
}
