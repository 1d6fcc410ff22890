#pragma once

#include "job/job_state.h"

namespace job {

// Writes form.strFileList to form.strListFile, one archive per line and one empty line at the end.
// Throws platform::Win32Error when the file cannot be written.
void WriteListFile(const JobState& form);

} // namespace job
