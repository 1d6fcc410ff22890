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

std::string MakeRar5Header(rar5::HeaderType type, std::uint64_t flags, std::string_view fields,
                           std::string_view extra, bool hasData, std::uint64_t dataSize) {
    if (!extra.empty()) {
        flags |= rar5::kHasExtra;
    }
    if (hasData) {
        flags |= rar5::kHasData;
    }
    std::string body = EncodeVint(static_cast<std::uint64_t>(type)) + EncodeVint(flags);
    if (!extra.empty()) {
        body += EncodeVint(extra.size());
    }
    if (hasData) {
        body += EncodeVint(dataSize);
    }
    body += fields;
    body += extra;
    std::string header = std::string(4, '\0') + EncodeVint(body.size()) + body;
    StoreLe32(header, 0, rar5::HeaderCrc(header));
    return header;
}

std::string MakeRar5FileFields(const StoredMember& member, std::uint64_t unpackedSize, std::uint32_t dataCrc,
                               std::uint64_t compression) {
    std::string name = ToUtf8(member.name);
    for (auto& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    const std::uint64_t fileFlags =
        member.directory ? rar5::kFileDirectory | rar5::kFileTime : rar5::kFileTime | rar5::kFileCrc;
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
    sink_.Write(rar5::kSignature);
    sink_.Write(MakeRar5Header(rar5::HeaderType::Main, 0, EncodeVint(archiveFlags)));
}

void Rar5Writer::Add(const StoredMember& member, std::string_view data) {
    const std::uint64_t size = member.directory ? 0 : data.size();
    sink_.Write(MakeRar5Header(rar5::HeaderType::File, 0, MakeRar5FileFields(member, size, Crc32(data)), {},
                               true, size));
    if (!member.directory) {
        sink_.Write(data);
    }
}

void Rar5Writer::Finish() {
    sink_.Write(MakeRar5Header(rar5::HeaderType::End, 0, EncodeVint(0)));
}

} // namespace rarstandin
