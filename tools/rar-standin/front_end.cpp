#include "archive_error.h"
#include "commands.h"
#include "platform/unique_handle.h"
#include "platform/win32_error.h"

#include <windows.h>

#include <cwctype>
#include <iterator>

namespace rarstandin {

namespace {

std::wstring Lower(std::wstring text) {
    for (auto& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

void Usage(Output& out) {
    out.Line(L"Usage:     rar <command> [-<switch>...] <archive> [<files or masks>...]");
    out.Line(L"");
    out.Line(L"<Commands>");
    out.Line(L"  a             Add files to a new archive (stored)");
    out.Line(L"  d             Delete files from archive (no masks: every file)");
    out.Line(L"");
    out.Line(L"<Switches>");
    out.Line(L"  ma4           Make a RAR 4 archive (with a)");
    out.Line(L"  ma5           Make a RAR 5 archive (with a, the default)");
    out.Line(L"  r             Recurse subfolders (masks already reach every folder)");
    out.Line(L"  ep1           Exclude the base folder from names (no effect here)");
    out.Line(L"  x<mask>       Exclude members matching mask (with d)");
    out.Line(L"  y             Assume Yes on all queries");
}

} // namespace

std::wstring ArchivePath(const std::wstring& given, bool mustExist) {
    const auto slash = given.find_last_of(L"\\/:");
    const std::wstring_view leaf =
        slash == std::wstring::npos ? std::wstring_view(given) : std::wstring_view(given).substr(slash + 1);
    if (leaf.find(L'.') != std::wstring_view::npos) {
        return given;
    }
    if (mustExist && ::GetFileAttributesW(given.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return given;
    }
    return given + L".rar";
}

std::wstring LongFullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4] = {};
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full)) {
        return path;
    }
    wchar_t longer[MAX_PATH * 4] = {};
    length = ::GetLongPathNameW(full, longer, static_cast<DWORD>(std::size(longer)));
    if (length == 0 || length >= std::size(longer)) {
        return full;
    }
    return longer;
}

std::wstring ReplacementPath(const std::wstring& path) {
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.empty()) {
        return path;
    }
    WIN32_FIND_DATAW found{};
    const platform::unique_hfind search(::FindFirstFileW(full.c_str(), &found));
    if (!search) {
        return full;
    }
    return full.substr(0, full.find_last_of(L'\\') + 1) + found.cFileName;
}

std::wstring TempFileBeside(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    // GetTempFileNameW writes the folder and a 14-character name into a MAX_PATH buffer; a longer folder
    // does not fit, and some implementations write past the buffer instead of failing.
    wchar_t temp[MAX_PATH] = {};
    if (folder.size() > MAX_PATH - 14 || ::GetTempFileNameW(folder.c_str(), L"rsd", 0, temp) == 0) {
        throw ArchiveError(kExitCreate, L"Cannot create a temporary file in " + folder);
    }
    return temp;
}

void ReplaceWith(const std::wstring& temp, const std::wstring& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        throw ArchiveError(kExitCreate, L"Cannot replace " + target + L"\n" + platform::SystemMessage(code));
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        ::SetFileAttributesW(target.c_str(), attributes);
    }
}

int RunCommand(const std::vector<std::wstring>& args, Output& out) {
    out.Line(kBanner);
    out.Line(L"");
    const CommandLine line = ParseCommandLine(args);
    if (line.command.empty()) {
        Usage(out);
        return kExitSuccess;
    }
    try {
        for (const auto& option : line.switches) {
            const std::wstring lower = Lower(option);
            const bool exclusion = lower.size() > 1 && lower[0] == L'x';
            if (lower != L"ma4" && lower != L"ma5" && lower != L"y" && lower != L"r" && lower != L"ep1" &&
                !exclusion) {
                throw ArchiveError(kExitUsage, L"Unknown option: -" + option);
            }
        }
        if (line.archive.empty()) {
            Usage(out);
            return kExitUsage;
        }
        const std::wstring command = Lower(line.command);
        if (command == L"d") {
            return RunDelete(line, out);
        }
        if (command == L"a") {
            return RunAdd(line, out);
        }
        throw ArchiveError(kExitUsage, L"Unknown command: " + line.command);
    } catch (const ArchiveError& error) {
        out.ErrorLine(error.message());
        return error.exitCode();
    } catch (const std::exception&) {
        out.ErrorLine(L"Unexpected failure");
        return kExitFatal;
    }
}

} // namespace rarstandin
