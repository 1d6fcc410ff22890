#include "job/run_driver.h"

#include "job/archive_finder.h"
#include "job/batch_file.h"
#include "job/batch_launch.h"
#include "job/list_file.h"
#include "job/refusal.h"
#include "platform/ansi_text.h"
#include "platform/command_runner.h"
#include "platform/mod_function.h"
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

// What must not reach the batch whatever the folder holds; checked before anything is searched.
void CheckPattern(const std::wstring& rarExe, const std::wstring& pattern) {
    if (IsBlankPattern(pattern)) {
        throw Refusal{L"要删除的文件类型不能为空，请检查！"};
    }
    if (!platform::TryToBatchText(pattern)) {
        throw Refusal{L"要删除的文件类型中有系统代码页无法表示的字符，请检查！"};
    }
    if (!platform::TryToBatchText(rarExe)) {
        throw Refusal{
            L"Rar.exe 所在文件夹的路径中有系统代码页无法表示的字符，请把本程序和 Rar.exe 移到其他文件夹！"};
    }
}

std::wstring SkippedArchivesMessage(const std::vector<SkippedArchive>& skipped) {
    std::wstring message = L"以下压缩文件无法写入批处理文件，已跳过：";
    for (const auto& archive : skipped) {
        message += L"\r\n" + archive.path + L"（" + archive.reason + L"）";
    }
    return message;
}

// launch is how the batch starts; a batch-only run has none.
void Run(JobState& form, const RunInputs& inputs, const std::wstring& folder,
         const std::optional<BatchLaunch>& launch, RunView& view) {
    WorkingFiles working;
    form.strFileList.clear();
    form.skippedArchives.clear();
    form.strListFile = JoinFolder(folder, L"RARLIST.LST");
    form.strBatFile = JoinFolder(folder, L"Brindle.BAT");

    const bool found = AutoListFiles(form, folder, L"*.rar", inputs.includeSubfolders);
    const std::vector<std::wstring> lines = ArchiveLines(form, inputs.pattern);
    if (!form.skippedArchives.empty()) {
        view.WriteMessage(SkippedArchivesMessage(form.skippedArchives));
    }
    if (found) {
        working.Created(form.strListFile);
        WriteListFile(form);
    }

    const bool batchExisted = platform::PathExists(form.strBatFile);
    std::wstring why = L"无法读取文件夹：" + folder;
    if (!found || !CreatBatFile(form, form.strBatFile, lines, why)) {
        // A batch this run could not finish is never run, and one that was there stays as it was.
        view.WriteMessage(L"批处理文件：" + form.strBatFile + L" 生成失败！\r\n" + why);
        return;
    }
    if (!batchExisted && launch) {
        working.Created(form.strBatFile);
    }
    view.WriteMessage(L"批处理文件：" + form.strBatFile + L" 已生成！");
    if (launch) {
        view.WriteMessage(sysAPI::GetCommandOutput(launch->commandLine, launch->currentFolder));
        platform::RemoveFile(form.strBatFile);
    }
}

} // namespace

std::wstring RunStoppedMessage(std::wstring_view detail) {
    return L"运行中出错，已停止：\r\n" + std::wstring(detail);
}

void RunCleanUp(JobState& form, const RunInputs& inputs, RunView& view) {
    const std::wstring folder = NormalizeFolder(inputs.folder);
    if (!FolderAccepted(folder)) {
        view.ShowError(L"文件夹：" + inputs.folder + L" 不存在，请检查！");
        return;
    }
    try {
        CheckPattern(form.strRarExe, inputs.pattern);
        const auto launch = inputs.batchOnly ? std::nullopt : std::optional<BatchLaunch>(LaunchFor(folder));
        // One slip of the pattern would empty and remove every archive of the tree, with no undo.
        if (const auto mask = MaskMatchingEveryName(inputs.pattern)) {
            if (!view.Confirm(L"要删除的文件类型“" + *mask +
                              L"”会删除压缩包中的全部文件，压缩包本身也会被删除。确定要继续吗？")) {
                return;
            }
        }
        BusyScope busy(view);
        Run(form, inputs, folder, launch, view);
    } catch (const Refusal& refusal) {
        view.ShowError(refusal.message);
    } catch (const platform::Win32Error& error) {
        view.ShowError(RunStoppedMessage(error.Describe()));
    }
}

} // namespace job
