#include "job/run_driver.h"

#include "job/archive_finder.h"
#include "job/batch_file.h"
#include "job/batch_text.h"
#include "job/list_file.h"
#include "job/refusal.h"
#include "job/run_control.h"
#include "job/run_summary.h"
#include "job/working_files.h"
#include "platform/ansi_text.h"
#include "platform/command_runner.h"
#include "platform/dir_listing.h"
#include "platform/file_identity.h"
#include "platform/text_file.h"
#include "platform/win32_error.h"

#include <exception>
#include <vector>

namespace job {

namespace {

// What must not reach the batch whatever the folder holds; checked before anything is searched.
void CheckPattern(const std::wstring& rarExe, const std::wstring& pattern) {
    if (IsBlankPattern(pattern)) {
        throw Refusal{L"要删除的文件类型不能为空，请检查！"};
    }
    // A line break would end the archiver's line and run the rest as a command of its own.
    if (HoldsControlCharacter(pattern)) {
        throw Refusal{ControlCharacterMessage};
    }
    if (!platform::TryToBatchText(pattern)) {
        throw Refusal{L"要删除的文件类型中有系统代码页无法表示的字符，请检查！"};
    }
    if (!platform::TryToBatchText(rarExe)) {
        throw Refusal{
            L"Rar.exe 所在文件夹的路径中有系统代码页无法表示的字符，请把本程序和 Rar.exe 移到其他文件夹！"};
    }
}

// A log entry that lists what the run passes over, each by its full path with the reason.
template <typename Item>
std::wstring ListedWithReasons(const wchar_t* heading, const std::vector<Item>& items) {
    std::wstring message = heading;
    for (const auto& item : items) {
        message += L"\r\n" + item.path + L"（" + item.reason + L"）";
    }
    return message;
}

// Follows the batch as it runs: its output goes to the log as it comes, and each archiver process the
// interpreter starts is the next line's, so its exit code is that archive's outcome. Nothing here reads
// the archiver's text.
class BatchWatcher : public sysAPI::CommandListener {
  public:
    BatchWatcher(RunEventQueue& events, RunControl& control, const std::wstring& rarExe,
                 std::vector<ArchiveOutcome>& outcomes)
        : events_(events), control_(control), archiver_(platform::IdentifyPath(rarExe)), outcomes_(outcomes) {
    }

    void Attached(platform::PipedChild& child) override { control_.Attach(child); }
    void Detached() override { control_.Detach(); }
    void OnOutput(std::wstring_view text) override {
        events_.Push({RunEvent::Kind::Output, std::wstring(text)});
    }
    void OnProcessStarted(DWORD processId, const std::wstring& image) override {
        if (!interpreterSeen_) {
            interpreterSeen_ = true; // the run's first process is the interpreter itself
            return;
        }
        if (!IsArchiver(image) || started_.size() >= outcomes_.size()) {
            return;
        }
        started_.push_back(processId);
        outcomes_[started_.size() - 1].started = true;
        events_.Push({RunEvent::Kind::ArchiveStarted, {}, started_.size()});
    }
    void OnProcessEnded(DWORD processId, std::optional<DWORD> exitCode) override {
        for (size_t i = 0; i < started_.size(); ++i) {
            if (started_[i] == processId && !outcomes_[i].exitCode) {
                outcomes_[i].exitCode = exitCode ? std::optional<unsigned long>(*exitCode) : std::nullopt;
                // Whatever code it left with once the user ended it (one whose console went first may
                // leave by itself), the user ended it.
                if (control_.EndedNow()) {
                    outcomes_[i].exitCode = EndedByUserCode;
                }
                events_.Push({RunEvent::Kind::ArchiveEnded, {}, i + 1});
                return;
            }
        }
    }

  private:
    // A process that ended before it could be looked at is taken for the archiver: that is what the batch
    // starts, and the console host the system adds lives as long as the console.
    bool IsArchiver(const std::wstring& image) const {
        if (image.empty()) {
            return true;
        }
        const auto identity = platform::IdentifyPath(image);
        if (archiver_ && identity) {
            return *archiver_ == *identity;
        }
        const std::wstring name = image.substr(image.find_last_of(L'\\') + 1);
        return platform::FoldNameCase(name) == platform::FoldNameCase(L"Rar.exe");
    }

    RunEventQueue& events_;
    RunControl& control_;
    std::optional<platform::FileIdentity> archiver_;
    std::vector<ArchiveOutcome>& outcomes_;
    bool interpreterSeen_ = false;
    std::vector<DWORD> started_; // the archiver's processes, in the order they started
};

// Runs the batch with its output in one log entry, then logs how each archive fared.
void RunBatch(const RunPlan& plan, const JobState& form, RunEventQueue& events, RunControl& control) {
    std::vector<ArchiveOutcome> outcomes;
    for (const auto& archive : form.archives) {
        outcomes.push_back({archive, false, std::nullopt, false});
    }
    events.Push({RunEvent::Kind::ArchivesToRun, {}, outcomes.size()});
    if (!control.StopRequested()) {
        events.Push({RunEvent::Kind::OutputBegins, {}, 0});
        BatchWatcher watcher(events, control, plan.rarExe, outcomes);
        sysAPI::GetCommandOutput(plan.launch->commandLine, plan.launch->currentFolder, watcher);
        events.Push({RunEvent::Kind::OutputEnds, {}, 0});
    }
    for (auto& archive : outcomes) {
        // The archiver removes an archive once every member is deleted.
        archive.gone = archive.started && !platform::PathExists(archive.path);
    }
    if (control.StopRequested()) {
        events.Push({RunEvent::Kind::Message, StoppedMessage(outcomes, control.EndedNow())});
    }
    events.Push({RunEvent::Kind::Message, SummaryMessage(outcomes, control.StopRequested())});
}

void Run(const RunPlan& plan, JobState& form, RunEventQueue& events, RunControl& control) {
    const std::wstring& folder = plan.folder.path;
    form.strFileList.clear();
    form.archives.clear();
    form.skippedArchives.clear();
    form.unlistedFolders.clear();
    form.strListFile = JoinFolder(folder, L"RARLIST.LST");
    form.strBatFile = JoinFolder(folder, L"Brindle.BAT");
    WorkingFiles files(form);

    const bool found = AutoListFiles(form, plan.folder, L"*.rar", plan.includeSubfolders);
    const std::vector<std::wstring> lines = ArchiveLines(form, plan.pattern);
    if (!form.unlistedFolders.empty()) {
        events.Push(
            {RunEvent::Kind::Message,
             ListedWithReasons(L"以下文件夹无法读取，其中的压缩文件没有处理：", form.unlistedFolders)});
    }
    if (!form.skippedArchives.empty()) {
        events.Push({RunEvent::Kind::Message,
                     ListedWithReasons(L"以下压缩文件无法写入批处理文件，已跳过：", form.skippedArchives)});
    }
    if (found) {
        WriteListFile(form, files);
    }

    const bool batchExisted = platform::PathExists(form.strBatFile);
    std::wstring why = L"无法读取文件夹：" + folder;
    const bool removeIfUnrun = !batchExisted && plan.launch;
    if (!found || !CreatBatFile(form.strBatFile, lines, why, files, removeIfUnrun)) {
        // A batch this run could not finish is never run, and one that was there stays as it was.
        events.Push({RunEvent::Kind::Message, L"批处理文件：" + form.strBatFile + L" 生成失败！\r\n" + why});
        return;
    }
    events.Push({RunEvent::Kind::Message, L"批处理文件：" + form.strBatFile + L" 已生成！"});
    if (plan.launch) {
        RunBatch(plan, form, events, control);
        files.RemoveBatch();
    }
}

} // namespace

std::wstring RunStoppedMessage(std::wstring_view detail) {
    return L"运行中出错，已停止：\r\n" + std::wstring(detail);
}

std::optional<RunPlan> PrepareRun(const RunInputs& inputs, const std::wstring& rarExe, RunView& view) {
    // Made full once, so the search, the files and the batch all name the one folder, whatever folder the
    // batch later runs in.
    const auto folder = ExistingFolder(inputs.folder);
    if (!folder) {
        view.ShowError(L"文件夹：" + inputs.folder + L" 不存在，请检查！");
        return std::nullopt;
    }
    try {
        CheckPattern(rarExe, inputs.pattern);
        RunFolder run = FolderToRun(*folder);
        auto launch = inputs.batchOnly ? std::nullopt : std::optional<BatchLaunch>(LaunchFor(run));
        if (FolderInUseByARun(*folder)) {
            throw Refusal{L"文件夹：" + *folder +
                          L" 正在被另一次清理使用（它的 Brindle.BAT 或 RARLIST.LST "
                          L"正被占用）。请等那次清理结束后再试。"};
        }
        // One slip of the pattern would empty and remove every archive of the tree, with no undo.
        if (const auto what = WhatEmptiesWholeArchives(inputs.pattern)) {
            if (!view.Confirm(EmptiesWholeArchivesQuestion(*what, inputs.batchOnly))) {
                return std::nullopt;
            }
        }
        return RunPlan{std::move(run), inputs.pattern, inputs.includeSubfolders, rarExe, std::move(launch)};
    } catch (const Refusal& refusal) {
        view.ShowError(refusal.message);
    } catch (const platform::Win32Error& error) {
        view.ShowError(RunStoppedMessage(error.Describe()));
    }
    return std::nullopt;
}

void ExecuteRun(const RunPlan& plan, JobState& form, RunEventQueue& events, RunControl& control) {
    try {
        Run(plan, form, events, control);
    } catch (const Refusal& refusal) {
        events.Push({RunEvent::Kind::Failed, refusal.message});
    } catch (const platform::Win32Error& error) {
        events.Push({RunEvent::Kind::Failed, RunStoppedMessage(error.Describe())});
    } catch (const std::exception& error) {
        events.Push({RunEvent::Kind::Failed, RunStoppedMessage(platform::WidenAscii(error.what()))});
    }
}

} // namespace job
