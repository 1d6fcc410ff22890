#include "archive_layout.h"

#include "archive_error.h"
#include "rar4_reader.h"
#include "rar5_reader.h"

namespace rarstandin {

RarFormat DetectFormat(ByteSource& source, const std::wstring& displayName) {
    const std::string head = source.Read(0, 8);
    if (head == std::string("Rar!\x1A\x07\x01\x00", 8)) {
        return RarFormat::Rar5;
    }
    if (head.size() >= 7 && head.compare(0, 7, std::string("Rar!\x1A\x07\x00", 7)) == 0) {
        return RarFormat::Rar4;
    }
    throw ArchiveError(kExitFatal, displayName + L" is not RAR archive");
}

ArchiveLayout ReadLayout(ByteSource& source, const std::wstring& displayName) {
    return DetectFormat(source, displayName) == RarFormat::Rar5 ? ReadRar5Layout(source)
                                                                : ReadRar4Layout(source);
}

} // namespace rarstandin
