#pragma once
// Stops a run from the window's thread while the run's own thread carries it out.

#include <mutex>

namespace platform {
class PipedChild;
}

namespace job {

class RunControl {
  public:
    // No further archive starts; the one in progress finishes.
    void RequestStop();
    // Every process of the run ends at once; the archive in progress may keep its temporary file.
    void EndNow();
    bool StopRequested() const;
    bool EndedNow() const;

    // The run's thread: the batch's interpreter runs in child from Attach to Detach.
    void Attach(platform::PipedChild& child);
    void Detach();

  private:
    mutable std::mutex mutex_;
    platform::PipedChild* child_ = nullptr;
    bool stop_ = false;
    bool endNow_ = false;
};

} // namespace job
