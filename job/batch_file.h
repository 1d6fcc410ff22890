#pragma once

#include "job/batch_text.h"
#include "job/job_state.h"
#include "job/working_files.h"

#include <string>
#include <vector>

namespace job {

// The archive lines of the batch, one per archive of form.strFileList in its order, each built once:
// the run checks them before it writes anything, and the batch is written from them. The pattern was
// checked already (never blank: the archiver would take that as "delete everything"). Throws Refusal for
// a line the interpreter would not read whole and as written.
std::vector<std::wstring> ArchiveLines(const JobState& form, const std::wstring& pattern);

// Writes the clean-up batch sBatFile: "@echo off", then the archive lines. True when the batch was
// written completely, the list file deleted, and the batch held among the run's working files (removed
// should the run stop before it ran, where removeIfUnrun). The batch is written under another name and put
// in place only when complete, so a failure leaves a batch that was there before exactly as it was; on
// failure, why holds the system's reason and the file it concerns.
bool CreatBatFile(const std::wstring& sBatFile, const std::vector<std::wstring>& lines, std::wstring& why,
                  WorkingFiles& files, bool removeIfUnrun);

} // namespace job
