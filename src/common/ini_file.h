#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace venuecheck {

// A venue or peg file, read as the Windows profile reader reads it:
// - lines split at LF (a CR before it dropped); a UTF-8 or UTF-16LE
//   byte-order mark makes the text be converted to 8 bits ('?' beyond U+00FF);
// - blanks trimmed at both ends of a line; a line starting with ';' is a
//   comment ('#' is not);
// - "[name]" opens a section (name up to the first ']', trimmed); only the
//   first section of a name counts, compared without regard to case;
// - "key=value": key and value trimmed, one pair of enclosing quotes (" or ')
//   removed from a value of two characters or more; the first line of a key
//   within its section wins;
// - a value is cut to its first 255 characters.
//
// Each key and section remembers its line (from 1), so that a finding can
// point at the line that gave a value.
class IniFile {
public:
    static constexpr size_t kMaxValueLength = 255;

    IniFile() = default;
    static IniFile Parse(std::string_view bytes);

    // The value of a key; none when the section or the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // The value of a key, or the default when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;

    // The line of the key that gives the value; when the key is missing, the
    // line of its section (where the key belongs); 0 without the section.
    int LineOf(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string value;
        int line = 0;
    };
    // Keys and section names are held folded to lower case.
    struct Section {
        int line = 0;
        std::unordered_map<std::string, Entry> keys;
    };
    std::unordered_map<std::string, Section> sections_;
};

// The lines of the keys a record was read from, by section and key.
class KeyLines {
public:
    void Note(std::string_view section, std::string_view key, int line);
    // The line noted for the key; 0 when none was.
    int Line(std::string_view section, std::string_view key) const;

private:
    struct Noted {
        std::string section;
        std::string key;
        int line = 0;
    };
    std::vector<Noted> noted_;
};

// GetString that also notes the key's line.
std::string ReadKey(const IniFile& ini, KeyLines& lines, std::string_view section,
                    std::string_view key, std::string_view defaultValue);

}  // namespace venuecheck
