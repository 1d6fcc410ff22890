#pragma once

#include "job/job_state.h"

#include <string>

namespace job {

// Appends the short path of every file whose own long name matches FileFilter in sDirName (and, with
// SearchSubDir, in all its subfolders, depth first), each followed by '|', to form.strFileList. True when
// this folder's own listing ran without error; a subfolder that cannot be listed is appended to
// form.unlistedFolders with the system's reason. Hidden and system entries are never listed or entered,
// and a folder reached twice through a link is searched once.
bool AutoListFiles(JobState& form, std::wstring sDirName, std::wstring FileFilter, bool SearchSubDir);
// The same for a run's folder, whose short form (where there is one) names the archives by their aliases.
bool AutoListFiles(JobState& form, const RunFolder& folder, std::wstring FileFilter, bool SearchSubDir);

} // namespace job
