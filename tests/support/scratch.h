#pragma once
// Real folders and files for tests, under the build's scratch folder (reached from Wine as Z:\...).

#include "platform/unique_handle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

namespace fs = std::filesystem;

inline std::string ToUnixPath(const std::wstring& windowsPath) {
    const auto text = fs::path(windowsPath.substr(windowsPath.size() >= 2 && windowsPath[1] == L':' ? 2 : 0))
                          .generic_u8string();
    return std::string(text.begin(), text.end());
}

// A Unix path from the environment (as ctest passes it), in Windows form through Z:; empty when unset.
inline std::wstring WindowsPathFromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || *value != '/' ? std::wstring()
                                             : L"Z:" + fs::path(fs::u8path(value)).make_preferred().wstring();
}

inline void MakeDir(const std::wstring& path) {
    fs::create_directories(path);
}

inline void WriteBytes(const std::wstring& path, std::string_view bytes) {
    std::ofstream file(fs::path(path), std::ios::binary);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
        throw std::runtime_error("cannot write " + ToUnixPath(path));
    }
}

inline std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + ToUnixPath(path));
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

inline void SetAttributes(const std::wstring& path, DWORD attributes) {
    if (!::SetFileAttributesW(path.c_str(), attributes)) {
        throw std::runtime_error("cannot set the attributes of " + ToUnixPath(path));
    }
}

inline bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a tree through the prefix that reaches paths past MAX_PATH, without following links out of it.
inline void RemoveTree(const std::wstring& path) {
    const std::wstring at = path.rfind(L"\\\\", 0) == 0 ? path : L"\\\\?\\" + path;
    WIN32_FIND_DATAW found{};
    const platform::unique_hfind search(::FindFirstFileW((at + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(search); more; more = ::FindNextFileW(search.get(), &found)) {
        const std::wstring name = found.cFileName, entry = at + L"\\" + name;
        const DWORD kind = found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
        if (name == L"." || name == L".." || !::SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL)) {
            continue;
        }
        if (kind == FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(entry);
        } else if (!::DeleteFileW(entry.c_str())) {
            ::RemoveDirectoryW(entry.c_str()); // a link to a folder
        }
    }
    ::RemoveDirectoryW(at.c_str());
}

// The folder of the running test executable, without a final '\'.
inline std::wstring ExecutableFolder() {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\'));
}

// A folder of its own for one test (named after it too, as ctest runs tests side by side), emptied when made.
class ScratchDir {
  public:
    explicit ScratchDir(std::wstring_view name)
        : path_(WindowsPathFromEnv("BRINDLE_SCRATCH") + L"\\" + std::wstring(name) + L"-" +
                fs::path(::testing::UnitTest::GetInstance()->current_test_info()->name()).wstring()) {
        RemoveTree(path_);
        MakeDir(path_);
    }
    const std::wstring& path() const noexcept { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

  private:
    std::wstring path_;
};

} // namespace testsupport
