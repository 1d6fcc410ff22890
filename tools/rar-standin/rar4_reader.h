#pragma once
// The block structure of a RAR 4 (2.9 to 4.x) archive.

#include "archive_layout.h"

namespace rarstandin {

ArchiveLayout ReadRar4Layout(ByteSource& source);

} // namespace rarstandin
