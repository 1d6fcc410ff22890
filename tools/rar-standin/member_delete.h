#pragma once
// Deleting members by copying every other block unchanged.

#include "archive_layout.h"

#include <string>
#include <vector>

namespace rarstandin {

struct DeletePlan {
    // Indices into the layout's blocks of the members that go, in archive order.
    std::vector<std::size_t> deletedMembers;
    // Per block: written to the new archive.
    std::vector<bool> keep;
    std::size_t remainingMembers = 0;
    // Some deleted or kept member continues another's compression.
    bool touchesSolidData = false;
};

// The members that masks select (every member when there are none) and no excluded mask matches.
DeletePlan PlanDeletion(const ArchiveLayout& layout, const std::vector<std::wstring>& masks,
                        const std::vector<std::wstring>& excluded = {});
// Writes the archive without the plan's dropped blocks, with the changed main header.
void WriteWithout(ByteSource& source, const ArchiveLayout& layout, const DeletePlan& plan, ByteSink& sink);

} // namespace rarstandin
