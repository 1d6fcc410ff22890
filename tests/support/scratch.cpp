#include "scratch.h"

#include "platform/ansi_text.h"
#include "platform/unique_handle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

[[noreturn]] void Fail(const char* what, const std::wstring& path) {
    std::string narrow;
    for (wchar_t c : path) {
        narrow += c < 128 ? static_cast<char>(c) : '?';
    }
    throw std::runtime_error(std::string(what) + " failed (" + std::to_string(::GetLastError()) +
                             "): " + narrow);
}

std::wstring Widen(const char* text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
    if (size > 1) {
        ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), size);
    }
    return wide;
}

// Each test runs in its own process and ctest runs several at once, so the folder carries the test's name.
std::wstring CurrentTestSuffix() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test == nullptr ? std::wstring() : L"-" + Widen(test->name());
}

} // namespace

std::wstring ScratchRoot() {
    const char* unixRoot = std::getenv("BRINDLE_SCRATCH");
    if (unixRoot != nullptr && *unixRoot == '/') {
        std::wstring path = L"Z:" + Widen(unixRoot);
        for (auto& c : path) {
            if (c == L'/') {
                c = L'\\';
            }
        }
        while (path.size() > 3 && path.back() == L'\\') {
            path.pop_back();
        }
        return path;
    }
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"brindle-tests";
    ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

ScratchDir::ScratchDir(std::wstring_view name)
    : path_(ScratchRoot() + L"\\" + std::wstring(name) + CurrentTestSuffix()) {
    RemoveTree(path_);
    MakeDir(path_);
}

std::wstring ScratchDir::operator/(std::wstring_view name) const {
    return path_ + L"\\" + std::wstring(name);
}

void MakeDir(const std::wstring& path) {
    if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        Fail("CreateDirectoryW", path);
    }
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
    platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Fail("CreateFileW", path);
    }
    DWORD written = 0;
    if (!bytes.empty() &&
        !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        Fail("WriteFile", path);
    }
}

std::string ReadBytes(const std::wstring& path) {
    platform::unique_handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Fail("CreateFileW", path);
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got != 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    if (!::SetFileAttributesW(path.c_str(), attributes)) {
        Fail("SetFileAttributesW", path);
    }
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW(path.c_str());
        return;
    }
    // A link to a folder is removed itself, never entered.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || ::RemoveDirectoryW(path.c_str())) {
        ::RemoveDirectoryW(path.c_str());
        return;
    }
    std::vector<std::wstring> children;
    WIN32_FIND_DATAW data{};
    platform::unique_hfind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                children.push_back(path + L"\\" + name);
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    for (const auto& child : children) {
        RemoveTree(child);
    }
    ::RemoveDirectoryW(path.c_str());
}

std::wstring ExecutableFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L'\\'));
}

std::string ToUnixPath(const std::wstring& windowsPath) {
    std::wstring rest = windowsPath;
    if (rest.size() >= 2 && (rest[0] == L'Z' || rest[0] == L'z') && rest[1] == L':') {
        rest.erase(0, 2);
    }
    for (auto& c : rest) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, rest.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        ::WideCharToMultiByte(CP_UTF8, 0, rest.c_str(), -1, text.data(), size, nullptr, nullptr);
    }
    return text;
}

} // namespace testsupport

namespace testsupport {

std::wstring WindowsPathFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') {
        return std::wstring();
    }
    std::wstring path = L"Z:" + Widen(value);
    for (auto& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

} // namespace testsupport
