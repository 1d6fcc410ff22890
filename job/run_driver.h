#pragma once
// One clean-up run, from the folder box to the log, free of window handles: the window supplies a view.

#include "job/job_state.h"

#include <string>
#include <string_view>

namespace job {

// What a run reads from the window at its start.
struct RunInputs {
    std::wstring folder;  // the folder box, as typed
    std::wstring pattern; // the pattern box, as typed
    bool includeSubfolders = false;
    bool batchOnly = false; // only write the batch file, run nothing
};

// What a run needs of the window.
class RunView {
  public:
    virtual ~RunView() = default;
    // A modal message box with the critical icon and the program's title.
    virtual void ShowError(const std::wstring& text) = 0;
    // A modal question with 是 and 否, 否 the default; true for 是.
    virtual bool Confirm(const std::wstring& question) = 0;
    // Appends one stamped entry to the message log.
    virtual void WriteMessage(std::wstring_view message) = 0;
    // Busy: Execute disabled and the hourglass; not busy: Execute enabled and the default cursor.
    virtual void SetBusy(bool busy) = 0;
};

// The Execute button: validates, finds the archives, writes the list and the batch, runs it unless only
// the batch was asked for, logs the output and removes the working files. Any failure is shown in a
// message box and the run still ends idle.
void RunCleanUp(JobState& form, const RunInputs& inputs, RunView& view);

// The message box for a failure that stopped a run or a button's work part-way, with what failed.
std::wstring RunStoppedMessage(std::wstring_view detail);

} // namespace job
