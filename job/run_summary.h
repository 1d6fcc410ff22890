#pragma once
// What became of each archive of a run, told by the archiver's exit code, and the log entry that sums it
// up by the archives' real names.

#include <optional>
#include <string>
#include <vector>

namespace job {

// The exit code the run gives an archiver it ends at once: the archiver's own "stopped by the user".
inline constexpr unsigned EndedByUserCode = 255;

struct ArchiveOutcome {
    std::wstring path;                     // the full long path
    bool started = false;                  // the archiver was started on it
    std::optional<unsigned long> exitCode; // once it ended; nothing when it could not be learnt
    bool gone = false;                     // it no longer exists after its line
};

// The archiver's exit code in words.
std::wstring ExitCodeReason(unsigned long code);

// The summary entry: how many archives, how many had members deleted, had none matching, failed, were
// not processed (because the user stopped the run, or because the batch ended early); then each archive
// that failed or was not processed, and each that is gone.
std::wstring SummaryMessage(const std::vector<ArchiveOutcome>& outcomes, bool stopped = true);

// The entry for a stopped run: how many archives were not processed, and the archive ended at once, if any.
std::wstring StoppedMessage(const std::vector<ArchiveOutcome>& outcomes, bool endedAtOnce);

} // namespace job
