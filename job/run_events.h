#pragma once
// What a run that goes on beside the window tells it, as data: the window's thread takes the events and is
// the only one that touches windows.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace job {

struct RunEvent {
    enum class Kind {
        Message,        // a whole log entry: text
        OutputBegins,   // the entry of the batch's output opens
        Output,         // more of that entry: text
        OutputEnds,     // the entry closes
        ArchivesToRun,  // the batch starts with number archives
        ArchiveStarted, // the archiver started on archive number (from 1)
        ArchiveEnded,   // the archiver ended on archive number
        Failed,         // the run stopped part-way: text says what failed, for a message box
        Ended,          // the run is over: the last event
    };
    Kind kind;
    std::wstring text;
    size_t number = 0;
};

// Events from the run's thread to the window's, in order. Output that follows output is joined, so a
// window that is slow to take it gets it in fewer, larger pieces; and the run waits while much output
// waits, so a flood of output holds no more than that in memory (the archiver waits on its full pipe).
class RunEventQueue {
  public:
    // wake is called, on the run's thread, when events wait where none waited.
    explicit RunEventQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

    void Push(RunEvent event);
    // The events waiting, in order, with at most maxOutput characters of output: the rest stays for the
    // next call, so the window can take output in pieces it appends quickly.
    std::vector<RunEvent> Take(size_t maxOutput);
    // No one takes events any more: the run no longer waits, and its output is dropped.
    void Abandon();

  private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::condition_variable roomMade_;
    std::deque<RunEvent> events_;
    size_t frontTaken_ = 0; // characters of the first event's output already taken
    size_t waitingOutput_ = 0;
    bool abandoned_ = false;
};

} // namespace job
