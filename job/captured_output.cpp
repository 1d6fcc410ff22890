#include "job/captured_output.h"

#include "platform/ansi_text.h"

#include <algorithm>

namespace job {

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
    size_t length = 0;
    for (const auto& block : blocks_) {
        length += platform::AnsiTextLength(block);
    }
    std::wstring text;
    text.reserve(length);
    // Each block goes as soon as it is converted, so bytes and text are not both held whole.
    for (auto& block : blocks_) {
        platform::AppendFromAnsi(text, block);
        block = std::string();
    }
    blocks_.clear();
    return text;
}

} // namespace job
