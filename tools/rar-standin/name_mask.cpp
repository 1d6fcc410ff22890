#include "name_mask.h"

#include <windows.h>

namespace rarstandin {

namespace {

// Upper case the way the system compares file names, with one separator.
std::wstring Fold(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty()) {
        ::CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    }
    for (auto& c : out) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return out;
}

bool HasWildcards(std::wstring_view text) {
    return text.find_first_of(L"*?") != std::wstring_view::npos;
}

// Plain glob: '*' any run (also of separators, for the whole-path form), '?' one character.
bool Glob(std::wstring_view mask, std::wstring_view name) {
    std::size_t m = 0;
    std::size_t n = 0;
    std::size_t starMask = std::wstring_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == L'?' || mask[m] == name[n]) && mask[m] != L'*') {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == L'*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::wstring_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*') {
        ++m;
    }
    return m == mask.size();
}

bool FoldedWildcard(std::wstring_view mask, std::wstring_view name) {
    if (Glob(mask, name)) {
        return true;
    }
    const bool nameHasDot = name.find(L'.') != std::wstring_view::npos;
    // "x.*" also takes names without any extension, as "*.*" takes every name.
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == L".*" && !nameHasDot) {
        return Glob(mask.substr(0, mask.size() - 2), name);
    }
    // "x." asks for names without extension.
    if (mask.size() >= 2 && mask.back() == L'.' && mask[mask.size() - 2] != L'.' && !nameHasDot) {
        return Glob(mask.substr(0, mask.size() - 1), name);
    }
    return false;
}

std::wstring_view LeafName(std::wstring_view path) {
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool MaskMatches(std::wstring_view rawMask, std::wstring_view rawName) {
    std::wstring mask = Fold(rawMask);
    std::wstring name = Fold(rawName);
    while (!name.empty() && name.back() == L'\\') {
        name.pop_back();
    }
    // A leading ".\" or "\" still means the archive root.
    while (StartsWith(mask, L".\\")) {
        mask.erase(0, 2);
    }
    while (!mask.empty() && mask.front() == L'\\') {
        mask.erase(0, 1);
    }
    if (mask.empty()) {
        return false;
    }
    const auto slash = mask.rfind(L'\\');
    if (slash == std::wstring::npos) {
        if (HasWildcards(mask)) {
            return FoldedWildcard(mask, LeafName(name));
        }
        return name == mask || StartsWith(name, mask + L"\\");
    }
    const std::wstring_view folder = std::wstring_view(mask).substr(0, slash + 1);
    const std::wstring_view leaf = std::wstring_view(mask).substr(slash + 1);
    if (leaf.empty()) {
        // "dir\" is the folder and what it holds.
        return name + L"\\" == folder || StartsWith(name, folder);
    }
    if (HasWildcards(folder)) {
        return FoldedWildcard(mask, name);
    }
    if (HasWildcards(leaf)) {
        return StartsWith(name, folder) && FoldedWildcard(leaf, LeafName(name));
    }
    return name == mask || StartsWith(name, mask + L"\\");
}

bool AnyMaskMatches(const std::vector<std::wstring>& masks, std::wstring_view name) {
    if (masks.empty()) {
        return MaskMatches(L"*.*", name);
    }
    for (const auto& mask : masks) {
        if (MaskMatches(mask, name)) {
            return true;
        }
    }
    return false;
}

} // namespace rarstandin
