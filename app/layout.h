#pragma once
// The design of the main window: its client size and its thirteen controls, one row each, in tab order;
// and the stop button, shown only while a run goes on.
// Positions are in twips at the design font, as the window was drawn; children of a frame are measured
// from the frame's top-left corner.

#include <windows.h>

#include <span>

namespace app {

enum ControlId : int {
    fraPath = 100,
    txtPath,
    cmdPath,
    chkSubPath,
    lbPath,
    fraOption,
    cmbFileType,
    chkSaveBat,
    lbFileType,
    Label1,
    cmdExecute,
    fraOutput,
    txtOutput,
    cmdStop,
};

enum class ControlKind {
    Frame,
    Label,
    SizedLabel,
    Edit,
    Button,
    DefaultButton,
    RunButton,
    CheckBox,
    Combo,
    Log
};

struct ControlRow {
    ControlId id;
    ControlKind kind;
    ControlId container; // the frame it sits in, or itself for a control of the window
    const wchar_t* caption;
    int left, top, width, height; // twips
};

inline constexpr int ClientWidthTwips = 7785;
inline constexpr int ClientHeightTwips = 4950;

// The window class, styles and extended styles a kind of control is made with.
struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};
ControlClass ClassFor(ControlKind kind);

// Every control, in tab order; the stop button is the last row.
std::span<const ControlRow> ControlTable();

// A length in twips as pixels at dpi (15 twips to a pixel at 96 DPI).
int TwipsToPixels(int twips, int dpi);

// The control's rectangle in the window's client area, in pixels at dpi.
RECT ControlRect(const ControlRow& row, int dpi);

} // namespace app
