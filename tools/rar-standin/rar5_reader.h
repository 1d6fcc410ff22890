#pragma once
// The block structure of a RAR 5 archive.

#include "archive_layout.h"

namespace rarstandin {

ArchiveLayout ReadRar5Layout(ByteSource& source);

} // namespace rarstandin
