#include "job/run_driver.h"

#include "job/archive_finder.h"
#include "job/batch_file.h"
#include "job/list_file.h"
#include "platform/ansi_text.h"
#include "platform/command_runner.h"
#include "platform/file_identity.h"
#include "platform/mod_function.h"
#include "platform/short_path.h"
#include "platform/text_file.h"
#include "platform/win32_error.h"

#include <optional>
#include <vector>

namespace job {

namespace {

// Restores the idle state however the run ends.
class BusyScope {
  public:
    explicit BusyScope(RunView& view) : view_(view) { view_.SetBusy(true); }
    ~BusyScope() { view_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    RunView& view_;
};

// Removes the working files a run created when it stops part-way.
class WorkingFiles {
  public:
    WorkingFiles() = default;
    ~WorkingFiles() {
        for (const auto& path : created_) {
            if (platform::PathExists(path)) {
                ::DeleteFileW(path.c_str());
            }
        }
    }
    WorkingFiles(const WorkingFiles&) = delete;
    WorkingFiles& operator=(const WorkingFiles&) = delete;

    void Created(const std::wstring& path) { created_.push_back(path); }

  private:
    std::vector<std::wstring> created_;
};

bool FolderAccepted(const std::wstring& folder) {
    bool exists = false;
    try {
        exists = ModFunction::FolderExists(folder);
    } catch (const platform::Win32Error&) {
        // A malformed path or a drive that is not ready is a folder that is not there.
    }
    return !folder.empty() && exists;
}

constexpr wchar_t PatternTooLong[] =
    L"要删除的文件类型太长，批处理文件中的命令不能超过 8191 个字符，请缩短！";

// The folder to start the batch in: the folder itself, or where its path is too long to be a current
// folder, its short form when that leads to the same folder.
std::optional<std::wstring> FolderToRunIn(const std::wstring& folder) {
    if (folder.size() + 1 < MAX_PATH) {
        return folder;
    }
    const auto shortFolder = platform::WideShortPath(folder);
    if (shortFolder && shortFolder->size() + 1 < MAX_PATH && platform::SameFile(folder, *shortFolder)) {
        return shortFolder;
    }
    return std::nullopt;
}

// The interpreter named outright and the batch by its bare name, started in its folder: nothing in the
// folder's path (a '%NAME%', characters outside the code page, its length) can change what runs, and no
// Brindle.BAT elsewhere can be found first. /d keeps the interpreter's AutoRun commands out of the run.
std::wstring BatchCommandLine() {
    return L"\"" + platform::SystemFilePath(L"cmd.exe") + L"\" /d /c Brindle.BAT";
}

// The message box for a pattern that must not reach the batch, or nothing when it may.
std::optional<std::wstring> PatternRefusal(const std::wstring& rarExe, const std::wstring& pattern) {
    if (IsBlankPattern(pattern)) {
        return L"要删除的文件类型不能为空，请检查！";
    }
    if (!platform::TryToAnsi(pattern)) {
        return L"要删除的文件类型中有系统代码页无法表示的字符，请检查！";
    }
    if (!FitsOnABatchLine(BatchLine(rarExe, L"", pattern))) {
        return PatternTooLong;
    }
    return std::nullopt;
}

// True when every archive's line is read whole by the interpreter.
bool EveryLineFits(const JobState& form, const std::wstring& pattern) {
    size_t start = 0;
    for (size_t end = form.strFileList.find(L'|'); end != std::wstring::npos;
         start = end + 1, end = form.strFileList.find(L'|', start)) {
        const std::wstring archive =
            Trim(std::wstring_view(form.strFileList).substr(start, end - start), L" ");
        if (!archive.empty() && !FitsOnABatchLine(BatchLine(form.strRarExe, archive, pattern))) {
            return false;
        }
    }
    return true;
}

std::wstring SkippedArchivesMessage(const std::vector<std::wstring>& skipped) {
    std::wstring message = L"以下压缩文件无法写入批处理文件（路径含有当前代码页无法表示的字符），已跳过：";
    for (const auto& path : skipped) {
        message += L"\r\n" + path;
    }
    return message;
}

// runFolder is where the batch runs; a batch-only run has none.
void Run(JobState& form, const RunInputs& inputs, const std::wstring& folder, const std::wstring& pattern,
         const std::optional<std::wstring>& runFolder, RunView& view) {
    WorkingFiles working;
    form.strFileList.clear();
    form.skippedArchives.clear();
    form.strListFile = JoinFolder(folder, L"RARLIST.LST");
    form.strBatFile = JoinFolder(folder, L"Brindle.BAT");

    const bool found = AutoListFiles(form, folder, L"*.rar", inputs.includeSubfolders);
    if (!EveryLineFits(form, pattern)) {
        view.ShowError(PatternTooLong);
        return;
    }
    if (!form.skippedArchives.empty()) {
        view.WriteMessage(SkippedArchivesMessage(form.skippedArchives));
    }
    if (found) {
        working.Created(form.strListFile);
        WriteListFile(form);
    }

    const bool batchExisted = platform::PathExists(form.strBatFile);
    if (!CreatBatFile(form, form.strBatFile)) {
        // A batch this run could not finish is never run, and one that was there stays as it was.
        view.WriteMessage(L"批处理文件：" + form.strBatFile + L" 生成失败！");
        return;
    }
    if (!batchExisted && runFolder) {
        working.Created(form.strBatFile);
    }
    view.WriteMessage(L"批处理文件：" + form.strBatFile + L" 已生成！");
    if (runFolder) {
        view.WriteMessage(sysAPI::GetCommandOutput(BatchCommandLine(), *runFolder));
        platform::RemoveFile(form.strBatFile);
    }
}

} // namespace

void RunCleanUp(JobState& form, const RunInputs& inputs, RunView& view) {
    const std::wstring folder = NormalizeFolder(inputs.folder);
    if (!FolderAccepted(folder)) {
        view.ShowError(L"文件夹：" + inputs.folder + L" 不存在，请检查！");
        return;
    }
    const std::wstring pattern = form.cmbFileTypeText ? form.cmbFileTypeText() : std::wstring();
    if (const auto refusal = PatternRefusal(form.strRarExe, pattern)) {
        view.ShowError(*refusal);
        return;
    }
    const auto runFolder = inputs.batchOnly ? std::nullopt : FolderToRunIn(folder);
    if (!inputs.batchOnly && !runFolder) {
        view.ShowError(L"文件夹：" + folder + L" 的路径太长，无法在其中运行批处理文件，请检查！");
        return;
    }
    BusyScope busy(view);
    try {
        Run(form, inputs, folder, pattern, runFolder, view);
    } catch (const platform::Win32Error& error) {
        view.ShowError(L"运行中出错，已停止：\r\n" + error.Describe());
    }
}

} // namespace job
