#include "job/run_events.h"

#include <utility>

namespace job {

void RunEventQueue::Push(RunEvent event) {
    bool wasEmpty = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        wasEmpty = events_.empty();
        if (event.kind == RunEvent::Kind::Output && !wasEmpty &&
            events_.back().kind == RunEvent::Kind::Output) {
            events_.back().text += event.text;
        } else {
            events_.push_back(std::move(event));
        }
    }
    if (wasEmpty) {
        wake_();
    }
}

std::vector<RunEvent> RunEventQueue::Take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(events_, {});
}

} // namespace job
