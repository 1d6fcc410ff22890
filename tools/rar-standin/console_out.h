#pragma once
// Output lines in the ANSI code page with CR LF, written straight to the standard handles, so a pipe
// receives exactly these bytes.

#include <string>
#include <string_view>

namespace rarstandin {

class Output {
  public:
    virtual ~Output() = default;
    virtual void Line(std::wstring_view text) = 0;
    virtual void ErrorLine(std::wstring_view text) = 0;
};

class ConsoleOutput : public Output {
  public:
    void Line(std::wstring_view text) override;
    void ErrorLine(std::wstring_view text) override;
};

// The bytes ConsoleOutput writes for one line: ANSI, each '\n' inside and the end as CR LF.
std::string AnsiLineBytes(std::wstring_view text);

} // namespace rarstandin
