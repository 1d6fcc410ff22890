// An archiver that does nothing but report one line, so a benchmark measures the run, not the archives.
#include <windows.h>

int main() {
    static const char line[] = "Deleting from archive\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, sizeof line - 1, &written, nullptr);
    return 0;
}
