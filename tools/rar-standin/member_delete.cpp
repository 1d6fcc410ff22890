#include "member_delete.h"

#include "name_mask.h"

#include <algorithm>

namespace rarstandin {

namespace {

bool Excluded(const std::vector<std::wstring>& excluded, std::wstring_view name) {
    return std::any_of(excluded.begin(), excluded.end(),
                       [name](const std::wstring& mask) { return MaskMatches(mask, name); });
}

} // namespace

DeletePlan PlanDeletion(const ArchiveLayout& layout, const std::vector<std::wstring>& masks,
                        const std::vector<std::wstring>& excluded) {
    DeletePlan plan;
    plan.keep.assign(layout.blocks.size(), true);
    bool previousMemberDeleted = false;
    for (std::size_t i = 0; i < layout.blocks.size(); ++i) {
        const Block& block = layout.blocks[i];
        switch (block.kind) {
        case BlockKind::File:
            previousMemberDeleted = AnyMaskMatches(masks, block.name) && !Excluded(excluded, block.name);
            if (previousMemberDeleted) {
                plan.deletedMembers.push_back(i);
                plan.keep[i] = false;
            } else {
                ++plan.remainingMembers;
            }
            plan.touchesSolidData = plan.touchesSolidData || block.solid;
            break;
        case BlockKind::Service:
            if (block.child) {
                plan.keep[i] = !previousMemberDeleted;
            } else {
                previousMemberDeleted = false;
            }
            break;
        default:
            previousMemberDeleted = false;
            break;
        }
        if (block.dropOnChange) {
            plan.keep[i] = false;
        }
    }
    return plan;
}

void WriteWithout(ByteSource& source, const ArchiveLayout& layout, const DeletePlan& plan, ByteSink& sink) {
    CopyRange(source, 0, layout.signatureSize, sink);
    for (std::size_t i = 0; i < layout.blocks.size(); ++i) {
        if (!plan.keep[i]) {
            continue;
        }
        const Block& block = layout.blocks[i];
        if (block.kind == BlockKind::Main) {
            sink.Write(layout.changedMainHeader);
            CopyRange(source, block.offset + layout.mainHeaderSize, block.size - layout.mainHeaderSize, sink);
        } else {
            CopyRange(source, block.offset, block.size, sink);
        }
    }
    CopyRange(source, layout.tailOffset, source.Size() - layout.tailOffset, sink);
}

} // namespace rarstandin
