#include "platform/captured_output.h"

#include "platform/ansi_text.h"

#include <algorithm>

namespace platform {

namespace {

constexpr size_t BlockSize = size_t{1} << 20;

} // namespace

void CapturedOutput::Append(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    // Blocks hold whole appends, so each starts on a character boundary and converts by itself to the
    // same text as its appends would one by one.
    if (blocks_.empty() || blocks_.back().size() + bytes.size() > BlockSize) {
        blocks_.emplace_back().reserve(std::max(BlockSize, bytes.size()));
    }
    blocks_.back().append(bytes);
}

std::wstring CapturedOutput::TakeText() {
    std::vector<size_t> lengths;
    size_t total = 0;
    for (const auto& block : blocks_) {
        lengths.push_back(platform::AnsiTextLength(block));
        total += lengths.back();
    }
    std::wstring text;
    text.reserve(total);
    // Each block goes as soon as it is converted, so bytes and text are not both held whole.
    for (size_t i = 0; i < blocks_.size(); ++i) {
        const size_t start = text.size();
        text.resize(start + lengths[i]);
        text.resize(start + platform::ConvertFromAnsi(blocks_[i], text.data() + start, lengths[i]));
        blocks_[i] = std::string();
    }
    blocks_.clear();
    return text;
}

} // namespace platform
