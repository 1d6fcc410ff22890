#include "job/run_events.h"

#include <algorithm>
#include <utility>

namespace job {

namespace {

// Some seconds of what the log box appends under Wine; far more than a pipe holds.
constexpr size_t MostWaitingOutput = 4 * 1024 * 1024;

} // namespace

void RunEventQueue::Push(RunEvent event) {
    bool wasEmpty = false;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (event.kind == RunEvent::Kind::Output) {
            roomMade_.wait(lock, [&] { return abandoned_ || waitingOutput_ < MostWaitingOutput; });
            if (abandoned_) {
                return;
            }
            waitingOutput_ += event.text.size();
        }
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

std::vector<RunEvent> RunEventQueue::Take(size_t maxOutput) {
    std::vector<RunEvent> taken;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        while (!events_.empty()) {
            RunEvent& front = events_.front();
            if (front.kind != RunEvent::Kind::Output) {
                taken.push_back(std::move(front));
                events_.pop_front();
                continue;
            }
            if (maxOutput == 0) {
                break;
            }
            // A piece of a long output is copied out; the rest stays where it is, not moved up.
            const size_t count = std::min(maxOutput, front.text.size() - frontTaken_);
            taken.push_back({RunEvent::Kind::Output, front.text.substr(frontTaken_, count), 0});
            maxOutput -= count;
            waitingOutput_ -= count;
            frontTaken_ += count;
            if (frontTaken_ == front.text.size()) {
                events_.pop_front();
                frontTaken_ = 0;
            }
        }
    }
    roomMade_.notify_all();
    return taken;
}

void RunEventQueue::Abandon() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        abandoned_ = true;
    }
    roomMade_.notify_all();
}

} // namespace job
