#pragma once
// A run carried out on a thread of its own, so the window keeps answering: the window takes its events
// when woken, and may stop it.

#include "job/job_state.h"
#include "job/run_control.h"
#include "job/run_driver.h"
#include "job/run_events.h"

#include <functional>
#include <thread>
#include <vector>

namespace job {

class BackgroundRun {
  public:
    // Starts the run of plan over form's copy. wake is called on the run's thread when events wait.
    BackgroundRun(RunPlan plan, JobState form, std::function<void()> wake);
    // A run still going is ended at once (every process of it), and its thread waited for.
    ~BackgroundRun();
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // The events since the last call, with at most maxOutput characters of output; the last of a run is
    // Ended.
    std::vector<RunEvent> TakeEvents(size_t maxOutput) { return events_.Take(maxOutput); }
    // No further archive starts; the one in progress finishes.
    void RequestStop() { control_.RequestStop(); }
    // Every process of the run ends at once.
    void EndNow() { control_.EndNow(); }
    // The form as the run left it; to be read once Ended was taken.
    const JobState& form() const noexcept { return form_; }

  private:
    RunPlan plan_;
    JobState form_;
    RunEventQueue events_;
    RunControl control_;
    std::thread thread_;
};

} // namespace job
