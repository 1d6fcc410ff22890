#include "job/batch_file.h"

#include "platform/text_file.h"
#include "platform/win32_error.h"

namespace job {

namespace {

// Thrown for a line that must not be written; caught below like any other failure.
struct UnsafeLine {};

void WriteBatch(JobState& form, const std::wstring& path) {
    // The run holds the window's thread, so the box cannot change while the batch is written: one read
    // serves every line.
    const std::wstring pattern = form.cmbFileTypeText ? form.cmbFileTypeText() : std::wstring();
    // Without a mask the archiver deletes every member and then the archive itself.
    if (IsBlankPattern(pattern)) {
        throw UnsafeLine();
    }
    platform::TextFileWriter batch(path);
    platform::TextFileReader list(form.strListFile);
    batch.WriteLine(L"@echo off");
    while (!list.AtEnd()) {
        const std::wstring archive = Trim(list.ReadLine(), L" ");
        if (archive.empty()) {
            continue;
        }
        // A cut line would hand the archiver a shortened mask.
        const std::wstring line = BatchLine(form.strRarExe, archive, pattern);
        if (!FitsOnABatchLine(line)) {
            throw UnsafeLine();
        }
        batch.WriteLine(line);
    }
    batch.Close();
}

} // namespace

bool CreatBatFile(JobState& form, const std::wstring& sBatFile) {
    const std::wstring unfinished = sBatFile + L".new";
    try {
        WriteBatch(form, unfinished);
        platform::ReplaceWith(unfinished, sBatFile);
        platform::RemoveFile(form.strListFile);
        return true;
    } catch (const platform::Win32Error&) {
    } catch (const UnsafeLine&) {
    }
    ::DeleteFileW(unfinished.c_str());
    return false;
}

} // namespace job
