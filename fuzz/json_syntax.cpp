#include "json_syntax.h"

#include <cstddef>

namespace venuecheck::fuzz {
namespace {

class JsonChecker {
public:
    explicit JsonChecker(std::string_view text) : text_(text) {}

    bool Document() {
        Space();
        if (!Value(0)) return false;
        Space();
        return at_ == text_.size();
    }

private:
    bool Value(int depth) {
        if (depth > 256 || at_ >= text_.size()) return false;
        switch (text_[at_]) {
            case '{':
                return Object(depth);
            case '[':
                return Array(depth);
            case '"':
                return String();
            case 't':
                return Word("true");
            case 'f':
                return Word("false");
            case 'n':
                return Word("null");
            default:
                return Number();
        }
    }

    bool Object(int depth) {
        ++at_;
        Space();
        if (Take('}')) return true;
        for (;;) {
            Space();
            if (Peek() != '"' || !String()) return false;
            Space();
            if (!Take(':')) return false;
            Space();
            if (!Value(depth + 1)) return false;
            Space();
            if (Take('}')) return true;
            if (!Take(',')) return false;
        }
    }

    bool Array(int depth) {
        ++at_;
        Space();
        if (Take(']')) return true;
        for (;;) {
            Space();
            if (!Value(depth + 1)) return false;
            Space();
            if (Take(']')) return true;
            if (!Take(',')) return false;
        }
    }

    bool String() {
        ++at_;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (at_ >= text_.size()) return false;
                const char e = text_[at_++];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (at_ >= text_.size() || !IsHex(text_[at_++])) return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            } else if (c >= 0x80 && !Utf8(c)) {
                return false;
            }
        }
        return false;
    }

    // The continuation bytes of a UTF-8 sequence whose lead byte was taken.
    bool Utf8(unsigned char lead) {
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
        if (extra < 0 || lead > 0xF4) return false;
        for (int i = 0; i < extra; ++i) {
            if (at_ >= text_.size() || (static_cast<unsigned char>(text_[at_++]) & 0xC0) != 0x80) {
                return false;
            }
        }
        return true;
    }

    bool Number() {
        Take('-');
        if (Take('0')) {
        } else if (!Digits()) {
            return false;
        }
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        return true;
    }

    bool Digits() {
        const size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        return at_ > start;
    }

    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    void Space() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool Take(char c) {
        if (Peek() != c || at_ >= text_.size()) return false;
        ++at_;
        return true;
    }
    static bool IsHex(char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

bool IsJson(std::string_view text) {
    return JsonChecker(text).Document();
}

}  // namespace venuecheck::fuzz
