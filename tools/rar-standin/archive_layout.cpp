#include "archive_layout.h"

#include "archive_error.h"
#include "rar4_format.h"
#include "rar4_reader.h"
#include "rar5_format.h"
#include "rar5_reader.h"

namespace rarstandin {

RarFormat DetectFormat(ByteSource& source, const std::wstring& displayName) {
    const std::string head = source.Read(0, rar5::kSignature.size());
    if (head == rar5::kSignature) {
        return RarFormat::Rar5;
    }
    if (head.starts_with(rar4::kSignature)) {
        return RarFormat::Rar4;
    }
    throw ArchiveError(kExitFatal, displayName + L" is not RAR archive");
}

ArchiveLayout ReadLayout(ByteSource& source, const std::wstring& displayName) {
    return DetectFormat(source, displayName) == RarFormat::Rar5 ? ReadRar5Layout(source)
                                                                : ReadRar4Layout(source);
}

} // namespace rarstandin
