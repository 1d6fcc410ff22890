#pragma once
// One clean-up run, from the folder box to the log, free of window handles. It is prepared on the
// window's thread, where every question is asked and every refusal shown before anything is written, and
// carried out beside it, telling the window what happens as events.

#include "job/batch_launch.h"
#include "job/job_state.h"
#include "job/run_events.h"

#include <optional>
#include <string>
#include <string_view>

namespace job {

class RunControl;

// What a run reads from the window at its start.
struct RunInputs {
    std::wstring folder;  // the folder box, as typed
    std::wstring pattern; // the pattern box, as typed
    bool includeSubfolders = false;
    bool batchOnly = false; // only write the batch file, run nothing
};

// What the window does for a run before it starts.
class RunView {
  public:
    virtual ~RunView() = default;
    // A modal message box with the critical icon and the program's title.
    virtual void ShowError(const std::wstring& text) = 0;
    // A modal question with 是 and 否, 否 the default; true for 是.
    virtual bool Confirm(const std::wstring& question) = 0;
};

// A run that may start: everything it needs, read and checked at its start.
struct RunPlan {
    RunFolder folder;     // the folder to clean
    std::wstring pattern; // as typed
    bool includeSubfolders = false;
    std::wstring rarExe;               // the archiver as the batch names it
    std::optional<BatchLaunch> launch; // how the batch starts; none when only the batch is wanted
};

// Validates the inputs, refuses what cannot run and asks before a pattern that empties whole archives, all
// through view. Nothing is written. The plan of the run, or nothing when it does not start.
std::optional<RunPlan> PrepareRun(const RunInputs& inputs, const std::wstring& rarExe, RunView& view);

// Carries out a plan: finds the archives, writes the list and the batch, runs it unless only the batch
// was asked for, logs the output and a summary, and removes the working files. Tells events what happens;
// a failure part-way is a Failed event. control stops it. form ends as the run left it.
void ExecuteRun(const RunPlan& plan, JobState& form, RunEventQueue& events, RunControl& control);

// The message box for a failure that stopped a run or a button's work part-way, with what failed.
std::wstring RunStoppedMessage(std::wstring_view detail);

} // namespace job
