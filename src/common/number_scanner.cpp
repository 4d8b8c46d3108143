#include "common/number_scanner.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace venuecheck {
namespace {

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Matches the longest prefix of a number in `text`; `complete` tells whether
// that prefix is itself a number.
size_t MatchNumber(std::string_view text, bool real, bool& complete) {
    size_t i = 0;
    complete = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (!real) {
        complete = digits > 0;
        return i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return i;
    complete = true;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        complete = false;
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, complete = true;
    }
    return i;
}

template <typename Real>
Real DecimalToReal(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    Real value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal exponent.
        long exponent = 0;
        const size_t e = number.find_first_of("eE");
        if (e != std::string_view::npos) {
            std::string_view digits = number.substr(e + 1);
            const bool minus = !digits.empty() && digits[0] == '-';
            if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
            for (char c : digits) {
                exponent = std::min(exponent * 10 + (c - '0'), 100000L);
            }
            if (minus) exponent = -exponent;
        }
        const std::string_view mantissa = number.substr(0, e);
        const size_t firstNonZero = mantissa.find_first_of("123456789");
        const size_t point = std::min(mantissa.find('.'), mantissa.size());
        long magnitude = 0;
        if (firstNonZero != std::string_view::npos) {
            magnitude = firstNonZero < point ? static_cast<long>(point - firstNonZero)
                                             : -static_cast<long>(firstNonZero - point - 1);
        }
        value = (magnitude + exponent > 0) ? std::numeric_limits<Real>::infinity() : Real(0);
    } else if (result.ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

}  // namespace

bool IsScanSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int TextScanner::GetByte() {
    if (position_ < text_.size()) return static_cast<unsigned char>(text_[position_++]);
    endMet_ = true;
    return -1;
}

void TextScanner::SkipWhiteSpace() {
    for (;;) {
        const int c = GetByte();
        if (c < 0) return;
        if (!IsScanSpace(c)) {
            UngetByte();
            return;
        }
    }
}

void TextScanner::SkipLine() {
    for (;;) {
        const int c = GetByte();
        if (c < 0 || c == '\n') return;
    }
}

bool TextScanner::ScanNumber(bool real, std::string& item) {
    SkipWhiteSpace();
    bool complete = false;
    const size_t length = MatchNumber(text_.substr(position_), real, complete);
    item.assign(text_.substr(position_, length));
    position_ += length;
    // A C stream looks at the byte after the item; at the end that sets the
    // end-of-file state.
    if (position_ >= text_.size()) endMet_ = true;
    return complete;
}

bool TextScanner::ReadInt(int32_t& value) {
    std::string item;
    if (!ScanNumber(false, item)) return false;
    value = DecimalToInt(item);
    return true;
}

bool TextScanner::ReadFloat(float& value) {
    std::string item;
    if (!ScanNumber(true, item)) return false;
    value = DecimalToFloat(item);
    return true;
}

bool TextScanner::ReadWord(std::string& word) {
    SkipWhiteSpace();
    const size_t start = position_;
    while (position_ < text_.size() && !IsScanSpace(static_cast<unsigned char>(text_[position_]))) {
        ++position_;
    }
    if (position_ >= text_.size()) endMet_ = true;
    if (position_ == start) return false;
    word.assign(text_.substr(start, position_ - start));
    return true;
}

bool TextScanner::ReadToLineEnd(std::string& text) {
    const size_t start = position_;
    while (position_ < text_.size() && text_[position_] != '\n') ++position_;
    if (position_ >= text_.size()) endMet_ = true;
    if (position_ == start) return false;
    text.assign(text_.substr(start, position_ - start));
    return true;
}

int32_t DecimalToInt(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    int64_t value = 0;
    for (char c : number) {
        value = value * 10 + (c - '0');
        if (value > int64_t{1} << 32) break;  // far beyond 32 bits already
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

double DecimalToDouble(std::string_view number) {
    return DecimalToReal<double>(number);
}

float DecimalToFloat(std::string_view number) {
    return DecimalToReal<float>(number);
}

int32_t IniInt(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && IsScanSpace(static_cast<unsigned char>(value[i]))) ++i;
    value.remove_prefix(i);
    bool complete = false;
    const size_t length = MatchNumber(value, false, complete);
    return complete ? DecimalToInt(value.substr(0, length)) : 0;
}

float IniFloat(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && IsScanSpace(static_cast<unsigned char>(value[i]))) ++i;
    value.remove_prefix(i);
    bool complete = false;
    size_t length = MatchNumber(value, true, complete);
    if (!complete) {
        // atof takes the longest prefix that is a number: "1.5e" reads 1.5.
        const size_t e = value.substr(0, length).find_first_of("eE");
        if (e == std::string_view::npos) return 0.0f;
        length = e;
        MatchNumber(value.substr(0, length), true, complete);
        if (!complete) return 0.0f;
    }
    return static_cast<float>(DecimalToDouble(value.substr(0, length)));
}

}  // namespace venuecheck
