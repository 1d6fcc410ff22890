#pragma once
// A run's working files in the chosen folder, RARLIST.LST and Brindle.BAT, each held from the moment it
// is written to its removal: no other program (a second run on the same folder, another user of a shared
// folder) can write, rename or delete them meanwhile, so the interpreter runs exactly the lines written.

#include "job/job_state.h"
#include "platform/text_file.h"

#include <string>
#include <string_view>

namespace job {

class WorkingFiles {
  public:
    explicit WorkingFiles(const JobState& form) : listFile_(form.strListFile), batFile_(form.strBatFile) {}
    // Removes the list, and the batch where the run made it to run it and stopped before that.
    ~WorkingFiles();
    WorkingFiles(const WorkingFiles&) = delete;
    WorkingFiles& operator=(const WorkingFiles&) = delete;

    // Creates the list with text and holds it. Throws platform::Win32Error.
    void WriteList(std::wstring_view text) { list_ = platform::HeldFile::Create(listFile_, text); }
    // Removes the list, if this run wrote one. Throws platform::Win32Error.
    void RemoveList() { list_.Remove(); }
    // Holds the batch this run has just put in place with the bytes written; false, holding nothing, when
    // the file there is no longer what was written (another program came between). removeIfUnrun: the
    // batch is removed should the run end before RemoveBatch. Throws platform::Win32Error.
    bool HoldBatch(std::string_view written, bool removeIfUnrun);
    // Removes the batch once it has run. Throws platform::Win32Error.
    void RemoveBatch() { batch_.Remove(); }

  private:
    std::wstring listFile_;
    std::wstring batFile_;
    platform::HeldFile list_;
    platform::HeldFile batch_;
    bool removeBatch_ = false;
};

// True when another run holds the working files of folder.
bool FolderInUseByARun(const std::wstring& folder);

} // namespace job
