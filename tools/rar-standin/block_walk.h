#pragma once
// The walk both readers make over an archive: block after block from the signature on.

#include "archive_layout.h"

#include <optional>

namespace rarstandin {

// Describes the block whose header starts at offset, and what it says of the whole archive; nothing when
// no more headers can be read.
using BlockReader = std::optional<Block> (*)(ByteSource& source, std::uint64_t offset, ArchiveLayout& layout);

// Stops after the end block, at a block past which the headers are encrypted, or at the end of the file.
ArchiveLayout WalkBlocks(ByteSource& source, RarFormat format, std::uint64_t signatureSize,
                         BlockReader readBlock);

} // namespace rarstandin
