#pragma once

#include "job/batch_text.h"
#include "job/job_state.h"

#include <string>

namespace job {

// Writes the clean-up batch sBatFile from the list file: "@echo off", then one archiver delete command
// per archive. True when the batch was written completely; the list file is then deleted. The batch is
// written under another name and put in place only when complete, so a failure leaves a batch that was
// there before exactly as it was. Every failure is a silent false: also a blank pattern, which the
// archiver would take as "delete everything", and a line the interpreter would not read whole.
bool CreatBatFile(JobState& form, const std::wstring& sBatFile);

} // namespace job
