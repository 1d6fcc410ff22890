#include "job/list_file.h"

namespace job {

void WriteListFile(const JobState& form, WorkingFiles& files) {
    std::wstring text;
    text.reserve(form.strFileList.size() * 2 + 2);
    for (wchar_t c : form.strFileList) {
        if (c == L'|') {
            text += L"\r\n";
        } else {
            text += c;
        }
    }
    text += L"\r\n";
    files.WriteList(text);
}

} // namespace job
