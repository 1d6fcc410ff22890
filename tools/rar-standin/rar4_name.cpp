#include "rar4_name.h"

#include "text_codec.h"

#include <windows.h>

namespace rarstandin {

namespace {

// The packed form: a high byte, then two-bit codes (four to a flag byte, highest first): 0 a low byte,
// 1 a low byte under the high byte, 2 a whole character, 3 a run taken from the plain bytes.
std::wstring Unpack(std::string_view plain, std::string_view packed) {
    std::wstring out;
    if (packed.empty()) {
        return out;
    }
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(packed[i]); };
    const unsigned high = at(0);
    std::size_t pos = 1;
    unsigned flags = 0;
    int flagBits = 0;
    constexpr std::size_t kMaxLength = 0x10000;
    while (pos < packed.size() && out.size() < kMaxLength) {
        if (flagBits == 0) {
            flags = at(pos++);
            flagBits = 8;
        }
        switch (flags >> 6) {
        case 0:
            if (pos >= packed.size()) {
                return out;
            }
            out += static_cast<wchar_t>(at(pos++));
            break;
        case 1:
            if (pos >= packed.size()) {
                return out;
            }
            out += static_cast<wchar_t>(at(pos++) + (high << 8));
            break;
        case 2:
            if (pos + 1 >= packed.size()) {
                return out;
            }
            out += static_cast<wchar_t>(at(pos) + (at(pos + 1) << 8));
            pos += 2;
            break;
        default: {
            if (pos >= packed.size()) {
                return out;
            }
            unsigned length = at(pos++);
            if ((length & 0x80) != 0) {
                if (pos >= packed.size()) {
                    return out;
                }
                const unsigned correction = at(pos++);
                for (length = (length & 0x7F) + 2; length > 0 && out.size() < plain.size(); --length) {
                    const unsigned low = (static_cast<unsigned char>(plain[out.size()]) + correction) & 0xFF;
                    out += static_cast<wchar_t>(low + (high << 8));
                }
            } else {
                for (length += 2; length > 0 && out.size() < plain.size(); --length) {
                    out += static_cast<wchar_t>(static_cast<unsigned char>(plain[out.size()]));
                }
            }
            break;
        }
        }
        flags = (flags << 2) & 0xFF;
        flagBits -= 2;
    }
    return out;
}

} // namespace

std::wstring DecodeRar4Name(std::string_view field, bool unicodeFlag) {
    std::wstring name;
    const auto zero = field.find('\0');
    if (unicodeFlag && zero != std::string_view::npos) {
        name = Unpack(field.substr(0, zero), field.substr(zero + 1));
    }
    if (name.empty()) {
        const std::string_view plain = field.substr(0, zero);
        // Without the packed part the bytes are UTF-8 when they read as such (newer archivers and Unix
        // hosts), otherwise the OEM code page of the DOS and Windows hosts.
        if (auto utf8 = TryFromUtf8(plain)) {
            name = std::move(*utf8);
        } else {
            name = FromCodePage(plain, CP_OEMCP);
        }
    }
    for (auto& c : name) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return name;
}

std::string EncodeRar4Unicode(std::wstring_view name) {
    std::string out(1, '\0'); // high byte, unused by this form
    for (std::size_t i = 0; i < name.size(); i += 4) {
        unsigned flags = 0;
        std::string group;
        for (std::size_t j = 0; j < 4; ++j) {
            unsigned code = 0;
            if (i + j < name.size()) {
                const auto c = static_cast<unsigned>(name[i + j]);
                if (c < 0x100) {
                    group += static_cast<char>(c);
                } else {
                    code = 2;
                    group += static_cast<char>(c & 0xFF);
                    group += static_cast<char>(c >> 8);
                }
            }
            flags |= code << (6 - 2 * j);
        }
        out += static_cast<char>(flags);
        out += group;
    }
    return out;
}

} // namespace rarstandin
