#include "app/layout.h"

#include <commctrl.h>

#include <array>
#include <cassert>

namespace app {

namespace {

using K = ControlKind;

constexpr std::array<ControlRow, 14> Rows = {{
    {fraPath, K::Frame, fraPath, L"RAR 文件", 240, 120, 7335, 1095},
    {txtPath, K::Edit, fraPath, L"", 1440, 285, 4455, 270},
    {cmdPath, K::Button, fraPath, L"浏览(&B)…", 6000, 240, 1095, 375},
    {chkSubPath, K::CheckBox, fraPath, L"包含子目录(&S)", 1440, 720, 2775, 255},
    {lbPath, K::SizedLabel, fraPath, L"RAR 文件位置：", 120, 330, 1290, 210},
    {fraOption, K::Frame, fraOption, L"设置", 240, 1320, 7335, 1095},
    {cmbFileType, K::Combo, fraOption, L"Combo1", 1800, 300, 1815, 330},
    {chkSaveBat, K::CheckBox, fraOption, L"仅生成批处理文件(&C)", 1800, 720, 3015, 255},
    {lbFileType, K::SizedLabel, fraOption, L"要删除的文件类型：", 120, 360, 1620, 210},
    {Label1, K::Label, fraOption, L"暂时只有批量删除 RAR 中的指定文件功能，如果可能以后再加其它功能:)", 3840,
     240, 3255, 735},
    {cmdExecute, K::DefaultButton, cmdExecute, L"执行(&E)", 4920, 4320, 1695, 375},
    // Left of Execute, where no click meant for Execute lands.
    {cmdStop, K::RunButton, cmdStop, L"停止(&T)", 3120, 4320, 1695, 375},
    {fraOutput, K::Frame, fraOutput, L"RAR.EXE 消息", 240, 2520, 7335, 1575},
    {txtOutput, K::Log, fraOutput, L"", 120, 240, 7095, 1215},
}};

const ControlRow& Row(ControlId id) {
    for (const auto& row : Rows) {
        if (row.id == id) {
            return row;
        }
    }
    assert(!"a control that is not in the table");
    return Rows[0];
}

} // namespace

// Focusable controls each start a group, so the arrow keys never move the focus between them. Buttons and
// check boxes tell the window when they get the focus (BS_NOTIFY), as the edit and combo boxes always do,
// so the default button can follow the focus.
ControlClass ClassFor(ControlKind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    constexpr DWORD stop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
    case ControlKind::Frame:
        return {WC_BUTTONW, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0};
    case ControlKind::Label:
        return {WC_STATICW, child | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::SizedLabel:
        return {WC_STATICW, child | SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0};
    case ControlKind::Edit:
        return {WC_EDITW, child | stop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button:
        return {WC_BUTTONW, child | stop | BS_NOTIFY | BS_PUSHBUTTON, 0};
    case ControlKind::DefaultButton:
        return {WC_BUTTONW, child | stop | BS_NOTIFY | BS_DEFPUSHBUTTON, 0};
    case ControlKind::RunButton:
        // Hidden until a run starts.
        return {WC_BUTTONW, (child & ~WS_VISIBLE) | stop | BS_NOTIFY | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
        return {WC_BUTTONW, child | stop | BS_NOTIFY | BS_AUTOCHECKBOX, 0};
    case ControlKind::Combo:
        return {WC_COMBOBOXW, child | stop | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
    case ControlKind::Log:
        // Locked: the user can select, copy and scroll, not type. It is no tab stop; a click focuses it.
        return {WC_EDITW,
                child | WS_GROUP | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL |
                    WS_VSCROLL,
                WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, child, 0};
}

std::span<const ControlRow> ControlTable() {
    return Rows;
}

int TwipsToPixels(int twips, int dpi) {
    return ::MulDiv(twips, dpi, 1440);
}

RECT ControlRect(const ControlRow& row, int dpi) {
    int left = row.left;
    int top = row.top;
    if (row.container != row.id) {
        left += Row(row.container).left;
        top += Row(row.container).top;
    }
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return RECT{x, y, x + TwipsToPixels(row.width, dpi), y + TwipsToPixels(row.height, dpi)};
}

} // namespace app
