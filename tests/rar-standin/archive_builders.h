#pragma once
// Small archives built in memory for the stand-in's tests, and what the reader and deletion make of them.

#include "archive_layout.h"
#include "byte_io.h"
#include "crc32.h"
#include "member_delete.h"
#include "rar4_writer.h"
#include "rar5_writer.h"

#include <string>
#include <utility>
#include <vector>

namespace standintest {

namespace rar4 = rarstandin::rar4;
namespace rar5 = rarstandin::rar5;

// Name and contents of each member; a name ending in '\' is a folder.
using Members = std::vector<std::pair<std::wstring, std::string>>;

inline rarstandin::StoredMember Member(std::wstring name, bool directory = false) {
    rarstandin::StoredMember member;
    member.name = std::move(name);
    member.directory = directory;
    member.attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    member.modified = FILETIME{0xD53E8000u, 0x01D4A000u};
    return member;
}

// The writer's constructor takes the main header's flags.
template <class Writer, class MainFlags> std::string Archive(const Members& members, MainFlags mainFlags) {
    rarstandin::MemorySink sink;
    Writer writer(sink, mainFlags);
    for (const auto& [name, data] : members) {
        const bool folder = !name.empty() && name.back() == L'\\';
        writer.Add(Member(folder ? name.substr(0, name.size() - 1) : name, folder), data);
    }
    writer.Finish();
    return sink.bytes();
}

inline std::string Rar5Archive(const Members& members, std::uint64_t archiveFlags = 0) {
    return Archive<rarstandin::Rar5Writer>(members, archiveFlags);
}

inline std::string Rar4Archive(const Members& members, std::uint16_t mainFlags = 0) {
    return Archive<rarstandin::Rar4Writer>(members, mainFlags);
}

// One stored member's block, its header flags given: the writers' file blocks, or services.
inline std::string Rar4Block(rar4::HeaderType type, const std::wstring& name, std::uint16_t flags,
                             const std::string& data) {
    return rarstandin::MakeRar4FileHeader(type, flags, Member(name), data.size(), rarstandin::Crc32(data)) +
           data;
}

inline std::string Rar5Block(rar5::HeaderType type, const std::wstring& name, std::uint64_t flags,
                             const std::string& data, std::uint64_t compression = 0) {
    const auto fields =
        rarstandin::MakeRar5FileFields(Member(name), data.size(), rarstandin::Crc32(data), compression);
    return rarstandin::MakeRar5Header(type, flags, fields, {}, true, data.size()) + data;
}

inline rarstandin::ArchiveLayout Layout(const std::string& bytes) {
    rarstandin::MemorySource source(bytes);
    return rarstandin::ReadLayout(source, L"test.rar");
}

inline std::vector<std::wstring> MemberNames(const rarstandin::ArchiveLayout& layout) {
    std::vector<std::wstring> names;
    for (const auto& block : layout.blocks) {
        if (block.kind == rarstandin::BlockKind::File) {
            names.push_back(block.name);
        }
    }
    return names;
}

// The archive as deletion writes it without the members masks match.
inline std::string Delete(const std::string& bytes, const std::vector<std::wstring>& masks) {
    rarstandin::MemorySource source(bytes);
    const auto layout = rarstandin::ReadLayout(source, L"test.rar");
    const auto plan = rarstandin::PlanDeletion(layout, masks);
    rarstandin::MemorySink sink;
    rarstandin::WriteWithout(source, layout, plan, sink);
    return sink.bytes();
}

} // namespace standintest
