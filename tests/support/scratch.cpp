#include "scratch.h"

#include "platform/unique_handle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

void Check(bool ok, const char* what, const std::wstring& path) {
    if (!ok) {
        throw std::runtime_error(std::string(what) + " failed (" + std::to_string(::GetLastError()) +
                                 "): " + ToUnixPath(path));
    }
}

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

} // namespace

ScratchDir::ScratchDir(std::wstring_view name) {
    path_ = WindowsPathFromEnv("BRINDLE_SCRATCH");
    Check(!path_.empty(), "BRINDLE_SCRATCH", path_);
    path_ += L"\\" + std::wstring(name) + L"-" +
             Widen(::testing::UnitTest::GetInstance()->current_test_info()->name());
    RemoveTree(path_);
    MakeDir(path_);
}

void MakeDir(const std::wstring& path) {
    Check(::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS,
          "CreateDirectoryW", path);
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
    platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    Check(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr),
          "WriteFile", path);
}

std::string ReadBytes(const std::wstring& path) {
    platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(static_cast<bool>(file), "CreateFileW", path);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got != 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    Check(::SetFileAttributesW(path.c_str(), attributes), "SetFileAttributesW", path);
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW(path.c_str());
        return;
    }
    // A link to a folder is removed itself, never entered.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && !::RemoveDirectoryW(path.c_str())) {
        std::vector<std::wstring> children;
        WIN32_FIND_DATAW data{};
        platform::unique_hfind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
        while (find) {
            if (std::wstring_view(data.cFileName) != L"." && std::wstring_view(data.cFileName) != L"..") {
                children.push_back(path + L"\\" + data.cFileName);
            }
            if (!::FindNextFileW(find.get(), &data)) {
                break;
            }
        }
        find.reset();
        for (const auto& child : children) {
            RemoveTree(child);
        }
    }
    ::RemoveDirectoryW(path.c_str());
}

std::wstring ExecutableFolder() {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\'));
}

std::string ToUnixPath(const std::wstring& windowsPath) {
    std::wstring rest = windowsPath.substr(windowsPath.size() >= 2 && windowsPath[1] == L':' ? 2 : 0);
    for (auto& c : rest) {
        c = c == L'\\' ? L'/' : c;
    }
    std::string text(rest.size() * 4, '\0');
    text.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, rest.data(),
                                                          static_cast<int>(rest.size()), text.data(),
                                                          static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

std::wstring WindowsPathFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') {
        return std::wstring();
    }
    std::wstring path = L"Z:" + Widen(value);
    for (auto& c : path) {
        c = c == L'/' ? L'\\' : c;
    }
    while (path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

} // namespace testsupport
