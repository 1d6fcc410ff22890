#pragma once
// How the clean-up batch is started: the interpreter's command line and the folder it starts in.

#include "job/job_state.h"

#include <string>

namespace job {

struct BatchLaunch {
    std::wstring commandLine;
    std::wstring currentFolder;
};

// The start of the batch Brindle.BAT in folder, so that nothing in the folder's name and none of the
// interpreter's machine settings changes what runs. Throws Refusal when the batch cannot be started
// that way.
BatchLaunch LaunchFor(const RunFolder& folder);

} // namespace job
