#pragma once

#include <string>

namespace job {

// Why a run does not start, or stops before its batch is written: shown to the user in a message box.
// Nothing a refused run found is written.
struct Refusal {
    std::wstring message;
};

} // namespace job
