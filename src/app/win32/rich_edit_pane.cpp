#include "app/win32/rich_edit_pane.h"

#include <richedit.h>

#include <algorithm>
#include <string>

namespace venuecheck {
namespace {

// The character format record: zero-filled except for the mask and the
// attributes it names, so nothing else changes.
CHARFORMATA EmptyFormat(DWORD mask) {
    CHARFORMATA format{};
    format.cbSize = sizeof(CHARFORMATA);
    format.dwMask = mask;
    return format;
}

void SetSelectionFormat(HWND control, CHARFORMATA& format) {
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

}  // namespace

void RichEditPane::Clear() {
    SendMessageA(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

void RichEditPane::SetFont(std::string_view face, int twips) {
    CHARFORMATA format = EmptyFormat(CFM_FACE | CFM_SIZE);
    // The record's face field holds at most LF_FACESIZE - 1 bytes and its NUL.
    const size_t length = std::min(face.size(), sizeof format.szFaceName - 1);
    std::copy_n(face.data(), length, format.szFaceName);
    format.yHeight = twips;
    SetSelectionFormat(control_, format);
}

void RichEditPane::SetColour(Rgb colour) {
    // Effects 0: the colour is not the automatic one.
    CHARFORMATA format = EmptyFormat(CFM_COLOR);
    format.crTextColor = RGB(colour.red, colour.green, colour.blue);
    SetSelectionFormat(control_, format);
}

void RichEditPane::SetBold(bool on) {
    CHARFORMATA format = EmptyFormat(CFM_BOLD);
    format.dwEffects = on ? CFE_BOLD : 0;
    SetSelectionFormat(control_, format);
}

void RichEditPane::Append(std::string_view text) {
    const std::string terminated(text);
    SendMessageA(control_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

}  // namespace venuecheck
