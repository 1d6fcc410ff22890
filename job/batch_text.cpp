#include "job/batch_text.h"

#include "platform/ansi_text.h"

namespace job {

namespace {

// Characters that end a plain word on the interpreter's line, or change what follows them.
constexpr std::wstring_view WordBreakers = L" \t&|<>^(),;=";
// Characters that act outside double quotes unless escaped with '^'.
constexpr std::wstring_view Operators = L"&|<>^";

} // namespace

bool IsBlankPattern(std::wstring_view pattern) {
    return pattern.find_first_not_of(L" \t") == std::wstring_view::npos;
}

std::wstring QuoteIfNeeded(std::wstring_view path) {
    std::wstring escaped;
    escaped.reserve(path.size() + 2);
    for (wchar_t c : path) {
        escaped += c;
        if (c == L'%') {
            escaped += L'%';
        }
    }
    const bool plain = path.find_first_of(WordBreakers) == std::wstring_view::npos;
    return plain ? escaped : L"\"" + escaped + L"\"";
}

std::wstring EscapeForBatch(std::wstring_view pattern) {
    std::wstring result;
    result.reserve(pattern.size() + 8);
    bool quoted = false;
    for (wchar_t c : pattern) {
        if (c == L'"') {
            quoted = !quoted;
        } else if (c == L'%') {
            result += L'%';
        } else if (!quoted && Operators.find(c) != std::wstring_view::npos) {
            result += L'^';
        }
        result += c;
    }
    return result;
}

std::wstring BatchLine(std::wstring_view rarExe, std::wstring_view archive, std::wstring_view pattern) {
    return QuoteIfNeeded(rarExe) + L" d " + QuoteIfNeeded(archive) + L" " + EscapeForBatch(pattern);
}

bool FitsOnABatchLine(std::wstring_view line) {
    if (line.size() > MaxBatchLineLength) {
        return false;
    }
    const auto bytes = platform::TryToBatchText(line);
    return bytes && bytes->size() <= MaxBatchLineLength;
}

std::optional<std::wstring> MaskMatchingEveryName(std::wstring_view pattern) {
    std::wstring mask;
    bool quoted = false;
    // One more blank at the end closes the last mask.
    for (size_t at = 0; at <= pattern.size(); ++at) {
        const wchar_t c = at < pattern.size() ? pattern[at] : L' ';
        if (c == L'"') {
            quoted = !quoted;
        } else if (quoted || (c != L' ' && c != L'\t')) {
            mask += c;
        } else if (!mask.empty()) {
            if (mask.find(L'*') != std::wstring::npos &&
                mask.find_first_not_of(L"*?.") == std::wstring::npos) {
                return mask;
            }
            mask.clear();
        }
    }
    return std::nullopt;
}

} // namespace job
