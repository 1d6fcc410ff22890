#include "platform/captured_output.h"

#include "platform/ansi_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

constexpr size_t BlockSize = size_t{1} << 20;

// True when every byte is below 0x80; looked at eight bytes at a time while they are still in the cache.
bool IsAscii(std::string_view bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & 0x8080808080808080u) != 0) {
            return false;
        }
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

void CapturedOutput::Append(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    // Blocks hold whole appends, so each starts on a character boundary and converts by itself to the
    // same text as its appends would one by one.
    if (blocks_.empty() || blocks_.back().bytes.size() + bytes.size() > BlockSize) {
        blocks_.emplace_back().bytes.reserve(std::max(BlockSize, bytes.size()));
    }
    Block& block = blocks_.back();
    block.bytes.append(bytes);
    block.ascii = block.ascii && IsAscii(bytes);
}

std::wstring CapturedOutput::TakeText() {
    std::vector<size_t> lengths;
    size_t total = 0;
    for (const auto& block : blocks_) {
        lengths.push_back(block.ascii ? block.bytes.size() : platform::AnsiTextLength(block.bytes));
        total += lengths.back();
    }
    std::wstring text;
    text.reserve(total);
    // Each block goes as soon as it is converted, so bytes and text are not both held whole.
    for (size_t i = 0; i < blocks_.size(); ++i) {
        const size_t start = text.size();
        text.resize(start + lengths[i]);
        text.resize(start + platform::ConvertFromAnsi(blocks_[i].bytes, text.data() + start, lengths[i]));
        blocks_[i].bytes = std::string();
    }
    blocks_.clear();
    return text;
}

} // namespace platform
