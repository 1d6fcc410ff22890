#include "block_walk.h"

namespace rarstandin {

ArchiveLayout WalkBlocks(ByteSource& source, RarFormat format, std::uint64_t signatureSize,
                         BlockReader readBlock) {
    ArchiveLayout layout;
    layout.format = format;
    layout.signatureSize = signatureSize;
    std::uint64_t offset = signatureSize;
    while (offset < source.Size()) {
        const std::optional<Block> block = readBlock(source, offset, layout);
        if (!block) {
            break;
        }
        layout.blocks.push_back(*block);
        offset += block->size;
        if (block->kind == BlockKind::End || layout.encryptedHeaders) {
            break;
        }
    }
    layout.tailOffset = offset;
    return layout;
}

} // namespace rarstandin
