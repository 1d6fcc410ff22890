#include "job/working_files.h"

#include "platform/win32_error.h"

namespace job {

WorkingFiles::~WorkingFiles() {
    try {
        list_.Remove();
        if (removeBatch_) {
            batch_.Remove();
        }
    } catch (const platform::Win32Error&) {
        // What cannot be removed stays; the run has already said what failed.
    }
}

bool WorkingFiles::HoldBatch(std::string_view written, bool removeIfUnrun) {
    batch_ = platform::HeldFile::Hold(batFile_);
    if (batch_.content() != written) {
        batch_.Release();
        return false;
    }
    removeBatch_ = removeIfUnrun;
    return true;
}

bool FolderInUseByARun(const std::wstring& folder) {
    return platform::HeldByAnother(JoinFolder(folder, L"Brindle.BAT")) ||
           platform::HeldByAnother(JoinFolder(folder, L"RARLIST.LST"));
}

} // namespace job
