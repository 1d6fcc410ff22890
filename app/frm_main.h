#pragma once
// The program's only window: the controls of the design, start-up, and the buttons. It holds no job logic
// of its own: it reads its controls into the job and shows what the job reports. A run goes on beside the
// window's thread, which keeps answering and takes the run's events as they come.

#include "app/control_setup.h"
#include "app/folder_completion.h"
#include "app/gdi_objects.h"
#include "app/layout.h"
#include "app/log_box.h"
#include "app/run_progress.h"
#include "job/background_run.h"
#include "job/job_state.h"
#include "job/run_driver.h"
#include "platform/com_apartment.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace app {

class frmMain : public job::RunView {
  public:
    // programFolder is where start-up looks for the archiver.
    explicit frmMain(std::wstring programFolder);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Creates the window, still hidden, and runs start-up. False when start-up ended the program; the
    // window is then gone and was never shown.
    bool Create(HINSTANCE instance);
    // Shows the window centred on the screen, with the focus in the folder box.
    void Show(int showCommand);
    // Puts the folder that path stands for (a file stands for its folder) into the folder box, as a folder
    // given on the command line or dropped on the window is.
    void TakeFolder(const std::wstring& path);

    HWND hwnd() const noexcept { return hwnd_; }
    HWND Control(ControlId id) const noexcept { return controls_[id]; }
    const job::JobState& form() const noexcept { return form_; }
    // True while the folder box's list of suggestions shows: Enter is then the list's.
    bool CompletionListShown() const { return completion_.ListShown(); }
    // True from Execute's click until the run has ended.
    bool Running() const noexcept { return run_ != nullptr; }

    void ShowError(const std::wstring& text) override;
    bool Confirm(const std::wstring& question) override;
    // Appends one stamped entry to the message log.
    void WriteMessage(std::wstring_view strMessage);

  private:
    // Posted by a run when its events wait; the timer takes them too, should a post be lost.
    static constexpr UINT RunEventsMessage = WM_APP + 2;
    static constexpr UINT_PTR RunEventsTimer = 1;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnActivate(bool active, bool minimized);
    void RememberFocus();
    void RestoreFocus();
    void OnCommand(int id, int notification);
    void FollowFocus();
    void OnDropFiles(HDROP drop);
    void OnShown();
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void OnDpiChanged(int dpi, const RECT& suggested);

    bool Form_Load();
    void cmdExecute_Click();
    void cmdPath_Click();
    void cmdStop_Click();

    void SetBusy(bool busy);
    void OnRunEvents();
    void EndRun();
    void OnCloseDuringRun();

    void ApplyLayout(int dpi);
    std::wstring FolderToOpenAt() const;

    // COM runs from the first show until the window is gone (the folder box's completion needs it).
    std::optional<platform::ComApartment> com_;
    FolderCompletion completion_;
    std::wstring programFolder_;
    job::JobState form_;
    HWND hwnd_ = nullptr;
    ControlHandles controls_;
    int dpi_ = 96;
    unique_hfont font_;
    HWND focusBeforeRun_ = nullptr;
    // The run going on, if any, and what the window knows of it.
    std::unique_ptr<job::BackgroundRun> run_;
    GrowingLogEntry output_;
    RunProgress progress_;
    size_t archiveInProgress_ = 0; // from 1; 0 when none
    bool stopping_ = false;
    bool closeAfterRun_ = false;
    std::wstring failure_; // what stopped the run part-way, shown once it has ended
    // The control that had the focus when the window last lost it.
    HWND focusWhenInactive_ = nullptr;
    // The button Enter presses: Browse while it has the focus, Execute otherwise.
    ControlId defaultButton_ = cmdExecute;
};

} // namespace app
