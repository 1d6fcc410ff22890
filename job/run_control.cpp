#include "job/run_control.h"

#include "job/run_summary.h"
#include "platform/child_process.h"

namespace job {

// Ending the interpreter, not the archiver, is what lets the archive in progress finish: the interpreter
// then starts no further line.
void RunControl::RequestStop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    if (child_ != nullptr) {
        child_->EndChild();
    }
}

void RunControl::EndNow() {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    endNow_ = true;
    if (child_ != nullptr) {
        child_->EndAll(EndedByUserCode);
    }
}

bool RunControl::StopRequested() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return stop_;
}

bool RunControl::EndedNow() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return endNow_;
}

void RunControl::Attach(platform::PipedChild& child) {
    const std::lock_guard<std::mutex> lock(mutex_);
    child_ = &child;
    // A stop that came while the child was being started.
    if (endNow_) {
        child.EndAll(EndedByUserCode);
    } else if (stop_) {
        child.EndChild();
    }
}

void RunControl::Detach() {
    const std::lock_guard<std::mutex> lock(mutex_);
    child_ = nullptr;
}

} // namespace job
