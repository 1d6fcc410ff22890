#include "rar5_writer.h"

#include "crc32.h"
#include "text_codec.h"
#include "vint.h"

namespace rarstandin {

namespace {

std::uint32_t UnixTime(const FILETIME& time) {
    const std::uint64_t ticks = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    constexpr std::uint64_t kEpoch = 116444736000000000ull; // 1970-01-01 in FILETIME ticks
    return ticks <= kEpoch ? 0 : static_cast<std::uint32_t>((ticks - kEpoch) / 10000000ull);
}

} // namespace

std::string MakeRar5Header(std::uint64_t type, std::uint64_t flags, std::string_view fields,
                           std::string_view extra, bool hasData, std::uint64_t dataSize) {
    if (!extra.empty()) {
        flags |= 0x01;
    }
    if (hasData) {
        flags |= 0x02;
    }
    std::string body = EncodeVint(type) + EncodeVint(flags);
    if (!extra.empty()) {
        body += EncodeVint(extra.size());
    }
    if (hasData) {
        body += EncodeVint(dataSize);
    }
    body += fields;
    body += extra;
    const std::string covered = EncodeVint(body.size()) + body;
    std::string header;
    AppendLe32(header, Crc32(covered));
    return header + covered;
}

std::string MakeRar5FileFields(const StoredMember& member, std::uint64_t unpackedSize, std::uint32_t dataCrc,
                               std::uint64_t compression) {
    std::string name = ToUtf8(member.name);
    for (auto& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    const std::uint64_t fileFlags = member.directory ? 0x01 | 0x02 : 0x02 | 0x04;
    std::string fields = EncodeVint(fileFlags) + EncodeVint(unpackedSize) + EncodeVint(member.attributes);
    AppendLe32(fields, UnixTime(member.modified));
    if (!member.directory) {
        AppendLe32(fields, dataCrc);
    }
    fields += EncodeVint(compression);
    fields += EncodeVint(0); // host OS: Windows
    fields += EncodeVint(name.size());
    fields += name;
    return fields;
}

Rar5Writer::Rar5Writer(ByteSink& sink, std::uint64_t archiveFlags) : sink_(sink) {
    sink_.Write(kRar5Signature);
    sink_.Write(MakeRar5Header(1, 0, EncodeVint(archiveFlags)));
}

void Rar5Writer::Add(const StoredMember& member, std::string_view data) {
    const std::uint64_t size = member.directory ? 0 : data.size();
    sink_.Write(MakeRar5Header(2, 0, MakeRar5FileFields(member, size, Crc32(data)), {}, true, size));
    if (!member.directory) {
        sink_.Write(data);
    }
}

void Rar5Writer::Finish() {
    sink_.Write(MakeRar5Header(5, 0, EncodeVint(0)));
}

} // namespace rarstandin
