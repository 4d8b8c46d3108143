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

private:
    // Keys and section names are held folded to lower case.
    using Section = std::unordered_map<std::string, std::string>;
    std::unordered_map<std::string, Section> sections_;
};

}  // namespace venuecheck
