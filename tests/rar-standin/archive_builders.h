#pragma once
// Small archives built in memory for the stand-in's tests.

#include "byte_io.h"
#include "rar4_writer.h"
#include "rar5_writer.h"

#include <string>
#include <utility>
#include <vector>

namespace standintest {

inline rarstandin::StoredMember Member(std::wstring name, bool directory = false) {
    rarstandin::StoredMember member;
    member.name = std::move(name);
    member.directory = directory;
    member.attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    member.modified = FILETIME{0xD53E8000u, 0x01D4A000u};
    return member;
}

// name and contents of each member; a name ending in '\' is a folder.
inline std::string Rar5Archive(const std::vector<std::pair<std::wstring, std::string>>& members,
                               std::uint64_t archiveFlags = 0) {
    rarstandin::MemorySink sink;
    rarstandin::Rar5Writer writer(sink, archiveFlags);
    for (const auto& [name, data] : members) {
        const bool folder = !name.empty() && name.back() == L'\\';
        writer.Add(Member(folder ? name.substr(0, name.size() - 1) : name, folder), data);
    }
    writer.Finish();
    return sink.bytes();
}

inline std::string Rar4Archive(const std::vector<std::pair<std::wstring, std::string>>& members,
                               std::uint16_t mainFlags = 0, std::uint32_t posAv = 0) {
    rarstandin::MemorySink sink;
    rarstandin::Rar4Writer writer(sink, mainFlags, posAv);
    for (const auto& [name, data] : members) {
        const bool folder = !name.empty() && name.back() == L'\\';
        writer.Add(Member(folder ? name.substr(0, name.size() - 1) : name, folder), data);
    }
    writer.Finish();
    return sink.bytes();
}

} // namespace standintest
