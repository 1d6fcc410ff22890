#include "job/batch_text.h"

#include "job/job_state.h"
#include "platform/ansi_text.h"

#include <vector>

namespace job {

namespace {

// Characters that end a plain word on the interpreter's line, or change what follows them.
constexpr std::wstring_view WordBreakers = L" \t&|<>^(),;=";
// Characters that act outside double quotes unless escaped with '^'.
constexpr std::wstring_view Operators = L"&|<>^";
// What a mask may hold and still match every name.
constexpr std::wstring_view Wildcards = L"*?.";

// The pattern's words as the archiver gets them: split at blanks outside double quotes, the quotes
// removed. An empty word ("") names nothing and is left out.
std::vector<std::wstring> ArchiverWords(std::wstring_view pattern) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    // One more blank at the end closes the last word.
    for (size_t at = 0; at <= pattern.size(); ++at) {
        const wchar_t c = at < pattern.size() ? pattern[at] : L' ';
        if (c == L'"') {
            quoted = !quoted;
        } else if (quoted || (c != L' ' && c != L'\t')) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    return words;
}

bool MatchesEveryName(std::wstring_view mask) {
    const size_t slash = mask.find_last_of(L"\\/");
    const std::wstring_view last = slash == std::wstring_view::npos ? mask : mask.substr(slash + 1);
    if (last.find(L'*') == std::wstring_view::npos ||
        last.find_first_not_of(Wildcards) != std::wstring_view::npos) {
        return false;
    }
    // The parts before the last: "*\*" takes every folder, and a leading "\" or ".\" is the archive's root.
    for (const wchar_t c : mask.substr(0, slash == std::wstring_view::npos ? 0 : slash)) {
        if (c != L'\\' && c != L'/' && Wildcards.find(c) == std::wstring_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsBlankPattern(std::wstring_view pattern) {
    return pattern.find_first_not_of(L" \t") == std::wstring_view::npos;
}

bool HoldsControlCharacter(std::wstring_view pattern) {
    for (const wchar_t c : pattern) {
        if ((c < L' ' && c != L'\t') || c == L'\x7F') {
            return true;
        }
    }
    return false;
}

std::wstring QuoteIfNeeded(std::wstring_view path) {
    std::wstring escaped;
    escaped.reserve(path.size() + 2);
    for (wchar_t c : path) {
        escaped += c;
        if (c == L'%') {
            escaped += L'%';
        }
    }
    const bool plain = path.find_first_of(WordBreakers) == std::wstring_view::npos;
    return plain ? escaped : L"\"" + escaped + L"\"";
}

std::wstring EscapeForBatch(std::wstring_view pattern) {
    std::wstring result;
    result.reserve(pattern.size() + 8);
    bool quoted = false;
    for (wchar_t c : pattern) {
        if (c == L'"') {
            quoted = !quoted;
        } else if (c == L'%') {
            result += L'%';
        } else if (!quoted && Operators.find(c) != std::wstring_view::npos) {
            result += L'^';
        }
        result += c;
    }
    return result;
}

std::wstring BatchLine(std::wstring_view rarExe, std::wstring_view archive, std::wstring_view pattern) {
    return QuoteIfNeeded(rarExe) + L" d " + QuoteIfNeeded(archive) + L" " + EscapeForBatch(pattern);
}

bool FitsOnABatchLine(std::wstring_view line) {
    if (line.size() > MaxBatchLineLength) {
        return false;
    }
    const auto bytes = platform::TryToBatchText(line);
    return bytes && bytes->size() <= MaxBatchLineLength;
}

std::optional<EmptyingPattern> WhatEmptiesWholeArchives(std::wstring_view pattern) {
    bool switchesEnded = false;
    bool anyMask = false;
    for (const auto& word : ArchiverWords(pattern)) {
        if (!switchesEnded && word == L"--") {
            switchesEnded = true;
        } else if (switchesEnded || word[0] != L'-') {
            if (MatchesEveryName(word)) {
                return EmptyingPattern{false, word};
            }
            anyMask = true;
        }
    }
    if (anyMask) {
        return std::nullopt;
    }
    return EmptyingPattern{true, Trim(pattern, L" \t")};
}

std::wstring EmptiesWholeArchivesQuestion(const EmptyingPattern& what, bool batchOnly) {
    std::wstring question = L"要删除的文件类型“" + what.text + L"”";
    if (what.noMask) {
        question += L"中除了开关（以“-”开头的部分）没有文件名或通配符，";
        question += batchOnly ? L"批处理文件会因此让 Rar.exe " : L"Rar.exe 会因此";
    } else {
        question += batchOnly ? L"会让批处理文件" : L"会";
    }
    question += batchOnly ? L"删除压缩包中的全部文件（压缩包本身也会被删除）。确定要生成这个批处理文件吗？"
                          : L"删除压缩包中的全部文件，压缩包本身也会被删除。确定要继续吗？";
    return question;
}

} // namespace job
