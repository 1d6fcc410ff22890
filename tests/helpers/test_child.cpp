// A child program for the command runner's tests: it writes exactly the output a test asks for.
//
//   test_child gbk N          N times "中中x" (code page 936), in writes of odd sizes that split characters
//   test_child mixed          lines to stdout and stderr, alternating
//   test_child stdin          what reading standard input gives
//   test_child split          a character whose two bytes go out in separate writes, after a pause
//   test_child late MS        a line after MS milliseconds

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void Write(const std::string& bytes, DWORD stream = STD_OUTPUT_HANDLE) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteGbk(size_t units) {
    std::string all;
    for (size_t i = 0; i < units; ++i) {
        all += "\xD6\xD0\xD6\xD0x";
    }
    static const size_t sizes[] = {1, 7, 4093, 32767, 32768, 32769, 65537, 13, 100003};
    for (size_t done = 0, turn = 0; done < all.size(); done += sizes[turn++ % 9]) {
        Write(all.substr(done, sizes[turn % 9]));
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string value = argc > 2 ? argv[2] : "0";
    if (mode == "gbk") {
        WriteGbk(std::strtoull(value.c_str(), nullptr, 10));
    } else if (mode == "mixed") {
        for (const char* n : {"1", "2", "3"}) {
            Write(std::string("out ") + n + "\r\n");
            Write(std::string("err ") + n + "\r\n", STD_ERROR_HANDLE);
        }
    } else if (mode == "stdin") {
        char byte = 0;
        DWORD got = 0;
        const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
        Write(input != nullptr && ::ReadFile(input, &byte, 1, &got, nullptr) && got > 0 ? "stdin: data\r\n"
                                                                                        : "stdin: none\r\n");
    } else if (mode == "split") {
        // D0 could lead as well: only reading the bytes in pairs tells that the last D6 is alone.
        Write("A\xD6\xD0\xD6");
        ::Sleep(300);
        Write("\xD0"
              "B\r\n");
    } else if (mode == "late") {
        ::Sleep(std::strtoul(value.c_str(), nullptr, 10));
        Write("late line\r\n");
    }
    return 0;
}
