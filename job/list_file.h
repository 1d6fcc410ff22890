#pragma once

#include "job/job_state.h"
#include "job/working_files.h"

namespace job {

// Writes form.strFileList to form.strListFile, one archive per line and one empty line at the end, held
// among the run's working files. Throws platform::Win32Error when the file cannot be written.
void WriteListFile(const JobState& form, WorkingFiles& files);

} // namespace job
