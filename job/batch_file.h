#pragma once

#include "job/batch_text.h"
#include "job/job_state.h"

#include <string>
#include <vector>

namespace job {

// The archive lines of the batch, one per archive of form.strFileList in its order, each built once:
// the run checks them before it writes anything, and the batch is written from them. The pattern was
// checked already (never blank: the archiver would take that as "delete everything"). Throws Refusal for
// a line the interpreter would not read whole and as written.
std::vector<std::wstring> ArchiveLines(const JobState& form, const std::wstring& pattern);

// Writes the clean-up batch sBatFile: "@echo off", then the archive lines. True when the batch was
// written completely and the list file, where there is one, deleted. The batch is written under another name
// and put in place only when complete, so a failure leaves a batch that was there before exactly as it was;
// on failure, why holds the system's reason and the file it concerns.
bool CreatBatFile(const JobState& form, const std::wstring& sBatFile, const std::vector<std::wstring>& lines,
                  std::wstring& why);

} // namespace job
