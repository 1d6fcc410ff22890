#pragma once
// What a run that goes on beside the window tells it, as data: the window's thread takes the events and is
// the only one that touches windows.

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
// window that is slow to take it gets it in fewer, larger pieces.
class RunEventQueue {
  public:
    // wake is called, on the run's thread, when events wait where none waited: the window takes them all.
    explicit RunEventQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

    void Push(RunEvent event);
    std::vector<RunEvent> Take();

  private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::vector<RunEvent> events_;
};

} // namespace job
