#include "job/batch_file.h"

#include "job/refusal.h"
#include "platform/ansi_text.h"
#include "platform/text_file.h"
#include "platform/win32_error.h"

namespace job {

std::vector<std::wstring> ArchiveLines(const JobState& form, const std::wstring& pattern) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end = form.strFileList.find(L'|'); end != std::wstring::npos;
         start = end + 1, end = form.strFileList.find(L'|', start)) {
        const std::wstring archive =
            Trim(std::wstring_view(form.strFileList).substr(start, end - start), L" ");
        if (archive.empty()) {
            continue;
        }
        lines.push_back(BatchLine(form.strRarExe, archive, pattern));
        // A cut line would hand the archiver a shortened mask.
        if (!FitsOnABatchLine(lines.back())) {
            throw Refusal{L"要删除的文件类型太长，批处理文件中的一行命令不能超过 " +
                          std::to_wstring(MaxBatchLineLength) + L" 个字节（一个汉字占两个字节），请缩短！"};
        }
    }
    return lines;
}

bool CreatBatFile(const std::wstring& sBatFile, const std::vector<std::wstring>& lines, std::wstring& why,
                  WorkingFiles& files, bool removeIfUnrun) {
    std::wstring text = L"@echo off\r\n";
    for (const auto& line : lines) {
        text += line + L"\r\n";
    }
    const std::wstring unfinished = sBatFile + L".new";
    try {
        platform::TextFileWriter batch(unfinished);
        batch.Write(text);
        batch.Close();
        // The list goes first: a failure then leaves the batch that was there before as it was.
        files.RemoveList();
        platform::ReplaceWith(unfinished, sBatFile);
        if (!files.HoldBatch(platform::ToAnsi(text), removeIfUnrun)) {
            why = L"批处理文件在写入之后、运行之前被其他程序改动了：" + sBatFile;
            return false;
        }
        return true;
    } catch (const platform::Win32Error& error) {
        why = error.Describe();
    }
    try {
        if (platform::PathExists(unfinished)) {
            platform::RemoveFile(unfinished);
        }
    } catch (const platform::Win32Error&) {
        // Left behind; the log already says what failed.
    }
    return false;
}

} // namespace job
