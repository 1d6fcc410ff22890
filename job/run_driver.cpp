#include "job/run_driver.h"

#include "job/archive_finder.h"
#include "job/batch_file.h"
#include "job/command_runner.h"
#include "job/list_file.h"
#include "platform/mod_function.h"
#include "platform/text_file.h"
#include "platform/win32_error.h"

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

bool FolderAccepted(const std::wstring& folder) {
    bool exists = false;
    try {
        exists = ModFunction::FolderExists(folder);
    } catch (const platform::Win32Error&) {
        // A malformed path or a drive that is not ready is a folder that is not there.
    }
    return !folder.empty() && exists;
}

// The batch named so that nothing else can be started in its place, e.g. C:\My.exe for C:\My Files\...
std::wstring CommandLineFor(const std::wstring& batFile) {
    return batFile.find_first_of(L" \t&|<>^(),;=%") == std::wstring::npos ? batFile : L"\"" + batFile + L"\"";
}

void RemoveIfPresent(const std::wstring& path) {
    if (platform::PathExists(path)) {
        platform::RemoveFile(path);
    }
}

void Run(JobState& form, const RunInputs& inputs, RunView& view) {
    const std::wstring& folder = inputs.folder;
    form.strFileList.clear();
    form.strListFile = JoinFolder(folder, L"RARLIST.LST");
    form.strBatFile = JoinFolder(folder, L"Brindle.BAT");

    const bool found = AutoListFiles(form, folder, L"*.rar", inputs.includeSubfolders);
    bool listWritten = false;
    if (found) {
        WriteListFile(form);
        listWritten = true;
    }

    const bool batchExisted = platform::PathExists(form.strBatFile);
    const bool built = CreatBatFile(form, form.strBatFile);
    if (!built) {
        // A batch this run could not finish, or one someone else left, is never run.
        view.WriteMessage(L"批处理文件：" + form.strBatFile + L" 生成失败！");
        if (!batchExisted) {
            RemoveIfPresent(form.strBatFile);
        }
        if (listWritten) {
            RemoveIfPresent(form.strListFile);
        }
        return;
    }
    view.WriteMessage(L"批处理文件：" + form.strBatFile + L" 已生成！");
    if (!inputs.batchOnly) {
        view.WriteMessage(sysAPI::GetCommandOutput(CommandLineFor(form.strBatFile)));
        platform::RemoveFile(form.strBatFile);
    }
}

} // namespace

void RunCleanUp(JobState& form, const RunInputs& inputs, RunView& view) {
    if (!FolderAccepted(inputs.folder)) {
        view.ShowError(L"文件夹：" + inputs.folder + L" 不存在，请检查！");
        return;
    }
    const std::wstring pattern = form.cmbFileTypeText ? form.cmbFileTypeText() : std::wstring();
    if (IsBlankPattern(pattern)) {
        view.ShowError(L"要删除的文件类型不能为空，请检查！");
        return;
    }
    BusyScope busy(view);
    try {
        Run(form, inputs, view);
    } catch (const platform::Win32Error& error) {
        view.ShowError(L"运行中出错，已停止：\r\n" + error.Describe());
    }
}

} // namespace job
