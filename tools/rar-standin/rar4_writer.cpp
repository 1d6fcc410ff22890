#include "rar4_writer.h"

#include "rar4_name.h"
#include "text_codec.h"

namespace rarstandin {

namespace {

std::uint32_t DosTime(const FILETIME& time) {
    FILETIME local{};
    WORD date = 0;
    WORD clock = 0;
    if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToDosDateTime(&local, &date, &clock)) {
        return 0x00210000; // 1980-01-01
    }
    return static_cast<std::uint32_t>(date) << 16 | clock;
}

} // namespace

std::string MakeRar4Header(rar4::HeaderType type, std::uint16_t flags, std::string_view body) {
    std::string header(2, '\0');
    header += static_cast<char>(type);
    AppendLe16(header, flags);
    AppendLe16(header, static_cast<std::uint16_t>(rar4::kCommonSize + body.size()));
    header += body;
    StoreLe16(header, 0, rar4::HeaderCrc(header));
    return header;
}

std::string MakeRar4FileHeader(rar4::HeaderType type, std::uint16_t extraFlags, const StoredMember& member,
                               std::uint64_t packSize, std::uint32_t dataCrc) {
    std::string name;
    std::uint16_t flags = static_cast<std::uint16_t>(rar4::kLongBlock | extraFlags);
    if (IsAscii(member.name)) {
        name = ToCodePageLossy(member.name, CP_ACP);
    } else {
        name = ToCodePageLossy(member.name, CP_ACP) + std::string(1, '\0') + EncodeRar4Unicode(member.name);
        flags |= rar4::kFileUnicodeName;
    }
    if (member.directory) {
        flags |= rar4::kFileDirectory;
    }
    const bool large = packSize > 0xFFFFFFFFu;
    if (large) {
        flags |= rar4::kFileLarge;
    }
    std::string body;
    AppendLe32(body, static_cast<std::uint32_t>(packSize & 0xFFFFFFFFu));
    AppendLe32(body, static_cast<std::uint32_t>(packSize & 0xFFFFFFFFu)); // stored: unpacked == packed
    body += static_cast<char>(2);                                         // host OS: Win32
    AppendLe32(body, dataCrc);
    AppendLe32(body, DosTime(member.modified));
    body += static_cast<char>(20);   // version needed for stored data
    body += static_cast<char>(0x30); // method: store
    AppendLe16(body, static_cast<std::uint16_t>(name.size()));
    AppendLe32(body, member.attributes);
    if (large) {
        AppendLe32(body, static_cast<std::uint32_t>(packSize >> 32));
        AppendLe32(body, static_cast<std::uint32_t>(packSize >> 32));
    }
    body += name;
    return MakeRar4Header(type, flags, body);
}

Rar4Writer::Rar4Writer(ByteSink& sink, std::uint16_t mainFlags, std::uint32_t posAv) : sink_(sink) {
    sink_.Write(rar4::kSignature);
    std::string body(2, '\0'); // HighPosAV
    AppendLe32(body, posAv);
    sink_.Write(MakeRar4Header(rar4::HeaderType::Main, mainFlags, body));
}

void Rar4Writer::Add(const StoredMember& member, std::string_view data) {
    const std::uint64_t size = member.directory ? 0 : data.size();
    sink_.Write(
        MakeRar4FileHeader(rar4::HeaderType::File, 0, member, size, member.directory ? 0 : Crc32(data)));
    if (!member.directory) {
        sink_.Write(data);
    }
}

void Rar4Writer::Finish() {
    sink_.Write(MakeRar4Header(rar4::HeaderType::End, rar4::kSkipIfUnknown, {}));
}

} // namespace rarstandin
