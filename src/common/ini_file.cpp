#include "common/ini_file.h"

#include <cstdint>

#include "common/text.h"

namespace venuecheck {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

void PutCodePoint(std::string& out, uint32_t code) {
    out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
}

std::string FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        const size_t extra = (lead >> 5) == 6    ? 1
                             : (lead >> 4) == 14 ? 2
                             : (lead >> 3) == 30 ? 3
                                                 : 0;
        uint32_t code = lead & (0x3Fu >> extra);
        bool valid = extra > 0 && i + extra < text.size();
        for (size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (!valid) {
            out.push_back('?');
            ++i;
            continue;
        }
        PutCodePoint(out, code);
        i += extra + 1;
    }
    return out;
}

std::string FromUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const uint32_t unit = static_cast<unsigned char>(text[i]) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(text[i + 1])) << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < text.size()) {
            const uint32_t low =
                static_cast<unsigned char>(text[i + 2]) |
                (static_cast<uint32_t>(static_cast<unsigned char>(text[i + 3])) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) i += 2;  // one character beyond U+00FF
            out.push_back('?');
            continue;
        }
        PutCodePoint(out, unit);
    }
    return out;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
    std::string converted;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        converted = FromUtf8(bytes.substr(kUtf8Bom.size()));
        bytes = converted;
    } else if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom) {
        converted = FromUtf16Le(bytes.substr(kUtf16LeBom.size()));
        bytes = converted;
    }

    IniFile ini;
    Section* current = nullptr;  // the section that receives keys, if any
    size_t start = 0;
    int lineNumber = 0;
    while (start <= bytes.size()) {
        ++lineNumber;
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';') continue;

        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            name = TrimBlanks(name.substr(0, name.find(']')));
            // A later section of the same name is never searched.
            auto [it, inserted] = ini.sections_.try_emplace(FoldedCopy(name));
            if (inserted) it->second.line = lineNumber;
            current = inserted ? &it->second : nullptr;
            continue;
        }

        const size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        // The value is a C string to the game: a NUL byte ends it.
        value = value.substr(0, value.find('\0'));
        current->keys.try_emplace(FoldedCopy(key),
                                  Entry{std::string(value.substr(0, kMaxValueLength)), lineNumber});
    }
    return ini;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(FoldedCopy(section));
    if (s == sections_.end()) return std::nullopt;
    const auto k = s->second.keys.find(FoldedCopy(key));
    if (k == s->second.keys.end()) return std::nullopt;
    return k->second.value;
}

int IniFile::LineOf(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(FoldedCopy(section));
    if (s == sections_.end()) return 0;
    const auto k = s->second.keys.find(FoldedCopy(key));
    return k == s->second.keys.end() ? s->second.line : k->second.line;
}

void KeyLines::Note(std::string_view section, std::string_view key, int line) {
    for (Noted& noted : noted_) {
        if (EqualNoCase(noted.section, section) && EqualNoCase(noted.key, key)) {
            noted.line = line;
            return;
        }
    }
    noted_.push_back(Noted{std::string(section), std::string(key), line});
}

int KeyLines::Line(std::string_view section, std::string_view key) const {
    for (const Noted& noted : noted_) {
        if (EqualNoCase(noted.section, section) && EqualNoCase(noted.key, key)) return noted.line;
    }
    return 0;
}

std::string ReadKey(const IniFile& ini, KeyLines& lines, std::string_view section,
                    std::string_view key, std::string_view defaultValue) {
    lines.Note(section, key, ini.LineOf(section, key));
    return ini.GetString(section, key, defaultValue);
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    auto value = Find(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

}  // namespace venuecheck
