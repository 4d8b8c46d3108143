#pragma once

#include <cstdint>
#include <string>

#include "common/number_scanner.h"

namespace venuecheck {

// What reading one entry of a keyword file (species or stock) gave.
enum class KeywordResult {
    kSkipped = 0,  // the word was no keyword; the rest of its line was skipped
    kRead = 1,     // a keyword and its values were read
    kEnd = 99,     // the file has ended: "END", the end of the text, or an unknown "REF"
};

// Reads the values of one entry the way one formatted-input call reads them:
// the conversions in order, the first that fails ends the call, and a value
// that is not read leaves its variable as it was.
class ValueScan {
public:
    explicit ValueScan(TextScanner& in) : in_(in) {}

    ValueScan& Int(int32_t& value);
    ValueScan& Real(float& value);
    // An integer stored in a 16-bit field keeps its low 16 bits.
    ValueScan& Int16(int16_t& value);

    // The number of values read.
    int Count() const { return count_; }

private:
    TextScanner& in_;
    int count_ = 0;
    bool failed_ = false;
};

constexpr int16_t Low16(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value)));
}

// The game keeps its texts as C strings: a NUL byte ends them.
void CutAtNul(std::string& text);

// Reads one word ("%s") as the game keeps it.
bool ReadKeywordWord(TextScanner& in, std::string& word);

// Reads a text value byte by byte: blanks (and tabs too, when asked) before
// it are skipped; a tab, two blanks in a row, a byte below 32 or from 128 up,
// or the end of the text ends it, and that byte (both blanks) is consumed and
// not kept. A line end straight away gives the empty text.
std::string ReadFieldText(TextScanner& in, bool skipTabs);

}  // namespace venuecheck
