#include "job/batch_text.h"

#include <gtest/gtest.h>

// The archiver takes every member for a mask that matches every name, and for no mask at all once its
// switches (words that begin with '-', up to a word "--") are set aside.
TEST(PatternRules, WhatEmptiesWholeArchivesIsNamedInTheQuestion) {
    const struct {
        std::wstring pattern;
        bool asked;
        bool noMask;
        std::wstring named;
    } cases[] = {
        {L"*", true, false, L"*"},
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
        {L"*.*htm", false, false, L""},
        {L"?*.txt", false, false, L""},
        {L"-r *.htm", false, false, L""},
        {L"-- -r", false, false, L""},
        {L"a\\*.txt", false, false, L""},
        {L"a\\*", false, false, L""},
        {L"\"-r *.htm\"", true, true, L"\"-r *.htm\""}, // one word, and a switch
    };
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
         L"删除压缩包中的全部文件（压缩包本身也会被删除）。确定要生成这个批处理文件吗？"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::EmptiesWholeArchivesQuestion(c.what, c.batchOnly), c.question);
    }
}

// A control character would end the batch line and run the rest as a command; a tab is a blank.
TEST(PatternRules, ControlCharactersAreRefused) {
    const struct {
        std::wstring pattern;
        bool refused;
    } cases[] = {
        {L"*.htm\r\ndel *.*", true},    {L"*.htm\ndel", true}, {L"*.htm\r", true},
        {std::wstring(1, L'\0'), true}, {L"\x1F.txt", true},   {L"a\x7F.txt", true},
        {L"*.htm\t*.url", false},       {L"\x20.txt", false},  {L"\x80.txt", false},
        {L"网页 *.htm", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::HoldsControlCharacter(c.pattern), c.refused) << testing::PrintToString(c.pattern);
    }
    EXPECT_STREQ(job::ControlCharacterMessage, L"要删除的文件类型中含有换行符或其他控制字符，请检查！");
}
