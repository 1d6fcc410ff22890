#pragma once
// A command's output as it arrives from the pipe: kept as the ANSI bytes it came in and turned into text
// once, when it is complete. The text is then allocated once at its final size; growing it chunk by chunk
// would copy it again at every doubling and touch about twice its size in fresh memory.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class CapturedOutput {
  public:
    // Appends bytes that end on a character boundary of the ANSI code page.
    void Append(std::string_view bytes);
    // The UTF-16 text of everything appended; leaves the output empty.
    std::wstring TakeText();

  private:
    struct Block {
        std::string bytes;
        // Bytes below 0x80 are one UTF-16 unit each in every ANSI code page, so a block of only those
        // needs no counting pass before it is converted.
        bool ascii = true;
    };
    std::vector<Block> blocks_;
};

} // namespace platform
