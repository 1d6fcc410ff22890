#pragma once
// The block structure of a RAR 5 archive.

#include "archive_layout.h"

namespace rarstandin {

// Largest header the format allows; a larger size field is damage, not a header.
constexpr std::uint64_t kRar5MaxHeaderSize = 2 * 1024 * 1024;

ArchiveLayout ReadRar5Layout(ByteSource& source);

} // namespace rarstandin
