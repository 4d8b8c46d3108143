#pragma once

#include <cstdint>
#include <string_view>

namespace venuecheck {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colours and fonts of the report.
namespace style {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kTitle{0, 0, 140};
inline constexpr Rgb kError{200, 0, 0};
inline constexpr Rgb kWarning{120, 0, 120};
inline constexpr Rgb kAdvice{0, 100, 0};
inline constexpr Rgb kLoadError{0, 0, 200};

inline constexpr std::string_view kFace = "Tahoma";
inline constexpr int kTitleSize = 280;    // twips: 14 points
inline constexpr int kHeadingSize = 220;  // 11 points
inline constexpr int kBodySize = 200;     // 10 points
}  // namespace style

// The report pane: every line of the report reaches the screen through its
// five operations. Formatting applies at the insertion point, which always
// sits at the end of the text, and holds for everything appended after it.
// Each front end (terminal, html, Qt, Win32, the tests' recorder) implements
// the protected operations.
class ReportPane {
public:
    virtual ~ReportPane() = default;

    // Removes the whole text; the format at the insertion point stays.
    void PaneClear() { Clear(); }
    // Face name and height in twips (1/20 of a point).
    void PaneSetFont(std::string_view face, int twips) { SetFont(face, twips); }
    void PaneSetColour(Rgb colour) { SetColour(colour); }
    // Bold exactly when `on` is 1; any other value switches bold off.
    void PaneSetBold(int on) { SetBold(on == 1); }
    // The text is a C string to the game: it ends at its first NUL byte.
    // Empty appends change nothing.
    void PaneAppend(std::string_view text) {
        text = text.substr(0, text.find('\0'));
        if (!text.empty()) Append(text);
    }

protected:
    virtual void Clear() = 0;
    virtual void SetFont(std::string_view face, int twips) = 0;
    virtual void SetColour(Rgb colour) = 0;
    virtual void SetBold(bool on) = 0;
    // Never empty and never holding a NUL byte.
    virtual void Append(std::string_view text) = 0;
};

// Writes a section heading: black, 11 points, bold; then back to the body
// font (10 points, not bold), colour still black.
void WriteSectionHeading(ReportPane& pane, std::string_view heading);

}  // namespace venuecheck
