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

// Collects lines, for tests.
class RecordingOutput : public Output {
  public:
    void Line(std::wstring_view text) override { text_ += std::wstring(text) + L"\n"; }
    void ErrorLine(std::wstring_view text) override { text_ += std::wstring(text) + L"\n"; }
    const std::wstring& text() const noexcept { return text_; }

  private:
    std::wstring text_;
};

// The bytes ConsoleOutput writes for one line: ANSI, each '\n' inside and the end as CR LF.
std::string AnsiLineBytes(std::wstring_view text);

} // namespace rarstandin
