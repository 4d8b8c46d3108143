// The number scanner: every conversion, checked against the C library's
// decimal conversions on the same text (the scanner must read exactly what
// they read, minus the forms it refuses: "inf", "nan", hexadecimal).

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "common/number_scanner.h"
#include "fuzz_support.h"

using namespace venuecheck;

namespace {

int32_t ReferenceInt(const std::string& item) {
    const long long value = std::strtoll(item.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

template <typename Real>
bool SameBits(Real a, Real b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The text after leading white space and a sign starts a form that strtod
// reads and the game's conversions do not.
bool StartsForeignForm(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsScanSpace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size()) return false;
    const char c = text[i];
    if (c == 'i' || c == 'I' || c == 'n' || c == 'N') return true;
    return c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
}

void CheckIniConversions(std::string_view value) {
    // An INI value is a C string.
    const std::string text(value.substr(0, value.find('\0')));
    if (IniInt(text) != ReferenceInt(text)) fuzz::Fail("IniInt differs from strtol", text);
    if (StartsForeignForm(text)) return;
    const float expected = static_cast<float>(std::strtod(text.c_str(), nullptr));
    if (!SameBits(IniFloat(text), expected)) fuzz::Fail("IniFloat differs from strtod", text);
}

void CheckNumberItem(std::string_view text, size_t start, size_t end, bool real, bool read,
                     int32_t intValue, float floatValue) {
    // The item is what the conversion consumed after the white space.
    while (start < end && IsScanSpace(static_cast<unsigned char>(text[start]))) ++start;
    const std::string item(text.substr(start, end - start));
    if (!read) return;
    if (item.empty()) fuzz::Fail("a number was read from no text");
    if (!real) {
        if (intValue != ReferenceInt(item)) fuzz::Fail("ReadInt differs from strtol", item);
        if (DecimalToInt(item) != intValue) fuzz::Fail("DecimalToInt differs from ReadInt", item);
        return;
    }
    char* stop = nullptr;
    const float expected = std::strtof(item.c_str(), &stop);
    if (stop != item.c_str() + item.size()) fuzz::Fail("ReadFloat took more than a number", item);
    if (!SameBits(floatValue, expected)) fuzz::Fail("ReadFloat differs from strtof", item);
    if (!SameBits(DecimalToDouble(item), std::strtod(item.c_str(), nullptr))) {
        fuzz::Fail("DecimalToDouble differs from strtod", item);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first eight bytes choose the conversions, three bits each; the rest
    // is the text they read.
    fuzz::InputReader in(fuzz::AsText(data, size));
    const std::string_view program = in.Bytes(8);
    const std::string_view text = in.Rest();
    CheckIniConversions(text);

    TextScanner scanner(text);
    const size_t steps = 4 * text.size() + 16;
    for (size_t step = 0; step < steps && !program.empty(); ++step) {
        const size_t bit = (step * 3) % (program.size() * 8);
        const unsigned op = (static_cast<unsigned char>(program[bit / 8]) >> (bit % 8)) & 7u;
        const size_t before = scanner.Position();
        switch (op) {
            case 0: {
                int32_t value = 0;
                const bool read = scanner.ReadInt(value);
                CheckNumberItem(text, before, scanner.Position(), false, read, value, 0);
                break;
            }
            case 1: {
                float value = 0;
                const bool read = scanner.ReadFloat(value);
                CheckNumberItem(text, before, scanner.Position(), true, read, 0, value);
                break;
            }
            case 2: {
                std::string word;
                if (scanner.ReadWord(word)) {
                    if (word.empty()) fuzz::Fail("ReadWord gave an empty word");
                    for (char c : word) {
                        if (IsScanSpace(static_cast<unsigned char>(c)))
                            fuzz::Fail("white space in a word");
                    }
                }
                break;
            }
            case 3: {
                std::string line;
                if (scanner.ReadToLineEnd(line) &&
                    (line.empty() || line.find('\n') != std::string::npos)) {
                    fuzz::Fail("ReadToLineEnd gave an empty text or a line end");
                }
                break;
            }
            case 4:
                scanner.SkipLine();
                break;
            case 5:
                if (scanner.GetByte() >= 0 && (step & 1) != 0) scanner.UngetByte();
                break;
            default:
                scanner.SkipWhiteSpace();
                break;
        }
        if (scanner.Position() > text.size()) fuzz::Fail("the scanner went past the end");
        if (op != 5 && scanner.Position() < before) fuzz::Fail("the scanner went back");
        if (scanner.AtEnd() && scanner.EndMet()) break;
    }
    return 0;
}
