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

void CopyFace(std::string_view face, CHARFORMATA& format) {
    // The record's face field holds at most LF_FACESIZE - 1 bytes and its NUL.
    face.copy(format.szFaceName, std::min(face.size(), sizeof format.szFaceName - 1));
}

void SetSelectionFormat(HWND control, CHARFORMATA& format) {
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

}  // namespace

void RichEditPane::Clear() {
    SendMessageA(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    atLineStart_ = true;
}

void RichEditPane::SetFont(std::string_view face, int twips) {
    CHARFORMATA format = EmptyFormat(CFM_FACE | CFM_SIZE);
    CopyFace(face, format);
    format.yHeight = twips;
    SetSelectionFormat(control_, format);
    face_ = format.szFaceName;
    twips_ = twips;
}

void RichEditPane::SetColour(Rgb colour) {
    // Effects 0: the colour is not the automatic one.
    CHARFORMATA format = EmptyFormat(CFM_COLOR);
    format.crTextColor = RGB(colour.red, colour.green, colour.blue);
    SetSelectionFormat(control_, format);
    colour_ = colour;
}

void RichEditPane::SetBold(bool on) {
    CHARFORMATA format = EmptyFormat(CFM_BOLD);
    format.dwEffects = on ? CFE_BOLD : 0;
    SetSelectionFormat(control_, format);
    bold_ = on;
}

void RichEditPane::Append(std::string_view text) {
    if (atLineStart_) {
        CHARFORMATA format = EmptyFormat(CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD);
        CopyFace(face_, format);
        format.yHeight = twips_;
        format.crTextColor = RGB(colour_.red, colour_.green, colour_.blue);
        format.dwEffects = bold_ ? CFE_BOLD : 0;
        SetSelectionFormat(control_, format);
    }
    const std::string terminated(text);
    SendMessageA(control_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
    atLineStart_ = text.back() == '\n' || text.back() == '\r';
}

}  // namespace venuecheck
