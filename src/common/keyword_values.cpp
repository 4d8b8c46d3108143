#include "common/keyword_values.h"

namespace venuecheck {

ValueScan& ValueScan::Int(int32_t& value) {
    if (failed_) return *this;
    int32_t read = 0;
    if (in_.ReadInt(read)) {
        value = read;
        ++count_;
    } else {
        failed_ = true;
    }
    return *this;
}

ValueScan& ValueScan::Real(float& value) {
    if (failed_) return *this;
    float read = 0.0f;
    if (in_.ReadFloat(read)) {
        value = read;
        ++count_;
    } else {
        failed_ = true;
    }
    return *this;
}

ValueScan& ValueScan::Int16(int16_t& value) {
    int32_t wide = value;
    Int(wide);
    value = Low16(wide);
    return *this;
}

void CutAtNul(std::string& text) {
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
}

bool ReadKeywordWord(TextScanner& in, std::string& word) {
    if (!in.ReadWord(word)) return false;
    CutAtNul(word);
    return true;
}

std::string ReadFieldText(TextScanner& in, bool skipTabs) {
    int c = in.GetByte();
    while (c == ' ' || (skipTabs && c == '\t')) c = in.GetByte();
    std::string value;
    if (c < 0 || c == '\n') return value;
    value.push_back(static_cast<char>(c));
    for (;;) {
        const int next = in.GetByte();
        // The end of the text, a tab, a line end or any other control byte,
        // or a byte from 128 up.
        if (next < 32 || next >= 128) break;
        if (next == ' ' && value.back() == ' ') {
            value.pop_back();
            break;
        }
        value.push_back(static_cast<char>(next));
    }
    CutAtNul(value);
    return value;
}

}  // namespace venuecheck
