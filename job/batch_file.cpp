#include "job/batch_file.h"

#include "platform/text_file.h"
#include "platform/win32_error.h"

namespace job {

namespace {

std::wstring TrimSpaces(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// Characters that end or change a plain word on the command interpreter's line.
bool BreaksAWord(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'&' || c == L'|' || c == L'<' || c == L'>' || c == L'^' ||
           c == L'(' || c == L')' || c == L',' || c == L';' || c == L'=';
}

// In a batch file '%' starts a variable even between quotes; "%%" stands for one.
std::wstring DoublePercent(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        result += c;
        if (c == L'%') {
            result += L'%';
        }
    }
    return result;
}

} // namespace

bool IsBlankPattern(std::wstring_view pattern) {
    return pattern.find_first_not_of(L" \t") == std::wstring_view::npos;
}

std::wstring QuoteIfNeeded(std::wstring_view path) {
    bool plain = true;
    for (wchar_t c : path) {
        plain = plain && !BreaksAWord(c);
    }
    const std::wstring escaped = DoublePercent(path);
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
        } else if (!quoted && (c == L'&' || c == L'|' || c == L'<' || c == L'>' || c == L'^')) {
            result += L'^';
        }
        result += c;
    }
    return result;
}

std::wstring BatchLine(std::wstring_view rarExe, std::wstring_view archive, std::wstring_view pattern) {
    return QuoteIfNeeded(rarExe) + L" d " + QuoteIfNeeded(archive) + L" " + EscapeForBatch(pattern);
}

bool CreatBatFile(JobState& form, const std::wstring& sBatFile) {
    try {
        // The batch is opened before the list, so a missing list leaves an empty batch behind.
        platform::TextFileWriter batch(sBatFile);
        platform::TextFileReader list(form.strListFile);
        batch.WriteLine(L"@echo off");
        while (!list.AtEnd()) {
            const std::wstring archive = TrimSpaces(list.ReadLine());
            if (archive.empty()) {
                continue;
            }
            const std::wstring pattern = form.cmbFileTypeText ? form.cmbFileTypeText() : std::wstring();
            // Without a mask the archiver deletes every member and then the archive itself.
            if (IsBlankPattern(pattern)) {
                return false;
            }
            batch.WriteLine(BatchLine(form.strRarExe, archive, pattern));
        }
        batch.Close();
        platform::RemoveFile(form.strListFile);
        return true;
    } catch (const platform::Win32Error&) {
        return false;
    }
}

} // namespace job
