#include "job/background_run.h"

namespace job {

BackgroundRun::BackgroundRun(RunPlan plan, JobState form, std::function<void()> wake)
    : plan_(std::move(plan)), form_(std::move(form)), events_(std::move(wake)) {
    thread_ = std::thread([this] {
        ExecuteRun(plan_, form_, events_, control_);
        events_.Push({RunEvent::Kind::Ended, {}, 0});
    });
}

BackgroundRun::~BackgroundRun() {
    control_.EndNow();
    events_.Abandon();
    thread_.join();
}

} // namespace job
