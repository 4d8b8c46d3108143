#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace venuecheck {

// Reads the game's keyword files the way the formatted-input conversions
// "%d", "%f", "%s" and "%[^\n]" read them, identically on every platform.
//
// Like a C stream, the scanner remembers when a read tried to go past the end
// of the text (`EndMet`); reading the last byte alone does not set it.
class TextScanner {
public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    // "%d": skips white space; the item is the longest prefix of
    // [+-]digits. A lone sign fails and stays consumed; the byte after the
    // item is not consumed. Values beyond 32 bits saturate.
    bool ReadInt(int32_t& value);

    // "%f": the same with [+-] digits [. digits] [(e|E) [+-] digits], at least
    // one digit before or after the point; the text is converted correctly
    // rounded to a 32-bit float. An incomplete item fails and stays consumed.
    bool ReadFloat(float& value);

    // "%s": skips white space, then takes the run of non-white bytes. False
    // when the end comes first.
    bool ReadWord(std::string& word);

    // "%[^\n]": at least one byte that is not a line feed, up to the line
    // feed (not consumed).
    bool ReadToLineEnd(std::string& text);

    // Skips white space (blanks, tabs, line ends, vertical tabs, form feeds).
    void SkipWhiteSpace();

    // Reads bytes up to and including the next line feed, or to the end.
    void SkipLine();

    // The next byte (0..255), or -1 at the end (which sets EndMet).
    int GetByte();
    // Steps back over the byte that GetByte returned last.
    void UngetByte() { --position_; }

    bool EndMet() const { return endMet_; }
    bool AtEnd() const { return position_ >= text_.size(); }
    size_t Position() const { return position_; }

private:
    // Takes the longest prefix of a number; returns whether it is complete.
    bool ScanNumber(bool real, std::string& item);

    std::string_view text_;
    size_t position_ = 0;
    bool endMet_ = false;
};

bool IsScanSpace(int c);

// Conversions of numbers held in INI values (as atoi and atof read them):
// the longest numeric prefix after leading white space, 0 when there is none;
// integers saturate to 32 bits, reals are read as double, then made float.
int32_t IniInt(std::string_view value);
float IniFloat(std::string_view value);

// Converts a complete decimal number (as matched by the scanner) to double
// or float, correctly rounded; overflow gives infinity, underflow zero.
double DecimalToDouble(std::string_view number);
float DecimalToFloat(std::string_view number);
int32_t DecimalToInt(std::string_view number);

}  // namespace venuecheck
