#include "archive_error.h"
#include "commands.h"
#include "rar4_writer.h"
#include "rar5_writer.h"

#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <memory>

namespace rarstandin {

namespace {

struct AddEntry {
    std::wstring path; // where to read it
    StoredMember member;
};

bool HasWildcards(std::wstring_view text) {
    return text.find_first_of(L"*?") != std::wstring_view::npos;
}

std::wstring Folded(std::wstring text) {
    for (auto& c : text) {
        c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towupper(c));
    }
    return text;
}

// The member name of a path: relative to the current folder when under it, otherwise without drive,
// leading separators and "." or ".." parts, as the archiver stores paths.
std::wstring MemberName(const std::wstring& given) {
    std::wstring path = given;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    wchar_t current[MAX_PATH * 4] = {};
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(std::size(current)), current);
    const std::wstring full = LongFullPath(path);
    if (length > 0 && length < std::size(current)) {
        std::wstring base = LongFullPath(current);
        if (!base.empty() && base.back() != L'\\') {
            base += L'\\';
        }
        if (full.size() > base.size() && Folded(full.substr(0, base.size())) == Folded(base)) {
            path = full.substr(base.size());
        }
    }
    if (path.size() >= 2 && path[1] == L':') {
        path.erase(0, 2);
    }
    std::wstring name;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find(L'\\', start), path.size());
        const std::wstring part = path.substr(start, end - start);
        if (!part.empty() && part != L"." && part != L"..") {
            name += (name.empty() ? L"" : L"\\") + part;
        }
        start = end + 1;
    }
    return name;
}

void AddPath(const std::wstring& path, const std::wstring& name, std::vector<AddEntry>& entries) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        throw ArchiveError(kExitOpen, L"Cannot open " + path);
    }
    AddEntry entry;
    entry.path = path;
    entry.member.name = name;
    entry.member.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.member.attributes = data.dwFileAttributes & 0x37; // read-only, hidden, system, folder, archive
    if (!entry.member.directory && entry.member.attributes == 0) {
        entry.member.attributes = FILE_ATTRIBUTE_ARCHIVE;
    }
    entry.member.modified = data.ftLastWriteTime;
    entries.push_back(entry);
    if (!entry.member.directory) {
        return;
    }
    std::vector<std::wstring> children;
    WIN32_FIND_DATAW found{};
    platform::unique_hfind search(::FindFirstFileW((path + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring child = found.cFileName;
            if (child != L"." && child != L"..") {
                children.push_back(child);
            }
        } while (::FindNextFileW(search.get(), &found));
    }
    std::sort(children.begin(), children.end());
    for (const auto& child : children) {
        AddPath(path + L"\\" + child, name + L"\\" + child, entries);
    }
}

std::vector<AddEntry> Collect(const std::vector<std::wstring>& names) {
    std::vector<AddEntry> entries;
    for (std::wstring given : names) {
        std::replace(given.begin(), given.end(), L'/', L'\\');
        while (given.size() > 1 && given.back() == L'\\' && given[given.size() - 2] != L':') {
            given.pop_back();
        }
        if (!HasWildcards(given)) {
            AddPath(given, MemberName(given), entries);
            continue;
        }
        const auto slash = given.find_last_of(L"\\:");
        const std::wstring folder = slash == std::wstring::npos ? L"" : given.substr(0, slash + 1);
        std::vector<std::wstring> matches;
        WIN32_FIND_DATAW found{};
        platform::unique_hfind search(::FindFirstFileW(given.c_str(), &found));
        if (search) {
            do {
                const std::wstring child = found.cFileName;
                if (child != L"." && child != L"..") {
                    matches.push_back(child);
                }
            } while (::FindNextFileW(search.get(), &found));
        }
        std::sort(matches.begin(), matches.end());
        for (const auto& match : matches) {
            AddPath(folder + match, MemberName(folder + match), entries);
        }
    }
    return entries;
}

std::string ReadWhole(const std::wstring& path) {
    FileSource source(path);
    return source.Read(0, static_cast<std::size_t>(source.Size()));
}

bool WantsRar4(const CommandLine& line) {
    bool rar4 = false;
    for (const auto& option : line.switches) {
        if (option == L"ma4" || option == L"MA4") {
            rar4 = true;
        } else if (option == L"ma5" || option == L"MA5") {
            rar4 = false;
        }
    }
    return rar4;
}

} // namespace

int RunAdd(const CommandLine& line, Output& out) {
    const std::wstring path = ArchivePath(line.archive, false);
    const std::vector<AddEntry> entries = Collect(line.names);
    if (entries.empty()) {
        out.Line(L"No files to add");
        return kExitNoFiles;
    }
    out.Line(L"Creating archive " + path);
    const std::wstring longPath = LongFullPath(path);
    const std::wstring target = ReplacementPath(path);
    const std::wstring temp = TempFileBeside(target);
    try {
        FileSink sink(temp);
        const bool rar4 = WantsRar4(line);
        std::unique_ptr<Rar4Writer> writer4;
        std::unique_ptr<Rar5Writer> writer5;
        if (rar4) {
            writer4 = std::make_unique<Rar4Writer>(sink);
        } else {
            writer5 = std::make_unique<Rar5Writer>(sink);
        }
        for (const auto& entry : entries) {
            if (Folded(LongFullPath(entry.path)) == Folded(longPath)) {
                continue; // never the archive itself
            }
            const std::string data = entry.member.directory ? std::string() : ReadWhole(entry.path);
            if (rar4) {
                writer4->Add(entry.member, data);
            } else {
                writer5->Add(entry.member, data);
            }
            out.Line(L"Adding    " + entry.member.name + L"    OK");
        }
        if (rar4) {
            writer4->Finish();
        } else {
            writer5->Finish();
        }
        sink.Close();
    } catch (...) {
        ::DeleteFileW(temp.c_str());
        throw;
    }
    ReplaceWith(temp, target);
    out.Line(L"Done");
    return kExitSuccess;
}

} // namespace rarstandin
