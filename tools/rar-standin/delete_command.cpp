#include "archive_error.h"
#include "commands.h"
#include "member_delete.h"

#include <windows.h>

namespace rarstandin {

namespace {

void Refuse(const ArchiveLayout& layout) {
    if (layout.encryptedHeaders) {
        throw ArchiveError(kExitFatal, L"The archive headers are encrypted; the stand-in cannot modify it");
    }
    if (layout.volume) {
        throw ArchiveError(kExitFatal, L"Cannot modify volume");
    }
    if (layout.locked) {
        throw ArchiveError(kExitLocked, L"Locked archive");
    }
}

} // namespace

int RunDelete(const CommandLine& line, Output& out) {
    const std::wstring path = ArchivePath(line.archive, true);
    const std::wstring target = ReplacementPath(path);
    std::wstring temp;
    DeletePlan plan;
    try {
        FileSource source(path);
        DetectFormat(source, line.archive);
        out.Line(L"Deleting from " + line.archive);
        const ArchiveLayout layout = ReadLayout(source, line.archive);
        Refuse(layout);
        plan = PlanDeletion(layout, line.names, ExcludedMasks(line));
        if (plan.deletedMembers.empty()) {
            out.Line(L"No files to delete");
            return kExitNoFiles;
        }
        if (layout.solid || plan.touchesSolidData) {
            // The real archiver recompresses a solid archive to delete from it; copying blocks cannot.
            throw ArchiveError(kExitFatal, L"Cannot delete from solid archive " + line.archive +
                                               L": the stand-in does not recompress");
        }
        for (std::size_t index : plan.deletedMembers) {
            out.Line(L"Deleting " + layout.blocks[index].name);
        }
        if (plan.remainingMembers > 0) {
            temp = TempFileBeside(target);
            FileSink sink(temp);
            WriteWithout(source, layout, plan, sink);
            sink.Close();
        }
    } catch (...) {
        if (!temp.empty()) {
            ::DeleteFileW(temp.c_str());
        }
        throw;
    }
    if (plan.remainingMembers == 0) {
        // Nothing left: the archiver removes the archive itself.
        ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileW(target.c_str())) {
            throw ArchiveError(kExitCreate, L"Cannot delete " + line.archive);
        }
    } else {
        ReplaceWith(temp, target);
    }
    out.Line(L"Done");
    return kExitSuccess;
}

} // namespace rarstandin
