#include "common/scrambled_file.h"

#include <array>

#include "common/game_folder.h"

namespace venuecheck {
namespace {

// Scrambled bit of each plain bit (bit 0 is the least significant).
constexpr std::array<int, 8> kScrambledBit = {4, 6, 2, 1, 5, 3, 7, 0};

constexpr uint8_t MoveBits(uint8_t value, const std::array<int, 8>& target) {
    uint8_t out = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (value & (1u << bit)) out = static_cast<uint8_t>(out | (1u << target[bit]));
    }
    return out;
}

constexpr std::array<int, 8> Inverse(const std::array<int, 8>& forward) {
    std::array<int, 8> inverse{};
    for (int bit = 0; bit < 8; ++bit) inverse[forward[bit]] = bit;
    return inverse;
}

constexpr std::array<int, 8> kPlainBit = Inverse(kScrambledBit);

template <const std::array<int, 8>& Target>
constexpr std::array<uint8_t, 256> MakeTable() {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = MoveBits(static_cast<uint8_t>(v), Target);
    return table;
}

constexpr auto kScrambleTable = MakeTable<kScrambledBit>();
constexpr auto kDescrambleTable = MakeTable<kPlainBit>();

constexpr std::string_view kMagicPlain = "SCRAM";

}  // namespace

uint8_t ScrambleByte(uint8_t plain) {
    return kScrambleTable[plain];
}

uint8_t DescrambleByte(uint8_t scrambled) {
    return kDescrambleTable[scrambled];
}

bool IsScrambled(std::string_view bytes) {
    if (bytes.size() < kMagicPlain.size()) return false;
    for (size_t i = 0; i < kMagicPlain.size(); ++i) {
        if (static_cast<uint8_t>(bytes[i]) != ScrambleByte(static_cast<uint8_t>(kMagicPlain[i]))) {
            return false;
        }
    }
    return true;
}

std::string Descramble(std::string_view scrambled) {
    std::string plain;
    if (scrambled.size() <= kScrambledHeaderSize) return plain;
    plain.resize(scrambled.size() - kScrambledHeaderSize);
    for (size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<char>(
            DescrambleByte(static_cast<uint8_t>(scrambled[kScrambledHeaderSize + i])));
    }
    return plain;
}

std::string Scramble(std::string_view plain) {
    std::string out(kScrambledHeaderSize, '\0');
    for (size_t i = 0; i < kMagicPlain.size(); ++i) {
        out[i] = static_cast<char>(ScrambleByte(static_cast<uint8_t>(kMagicPlain[i])));
    }
    out.reserve(kScrambledHeaderSize + plain.size());
    for (char c : plain) out.push_back(static_cast<char>(ScrambleByte(static_cast<uint8_t>(c))));
    return out;
}

PlainText ReadDataFile(const GameFolder& folder, std::string_view path) {
    PlainText text;
    auto bytes = folder.ReadFile(path);
    if (!bytes) return text;
    text.opened = true;
    if (!IsScrambled(*bytes)) {
        text.bytes = std::move(*bytes);
        return text;
    }
    text.scrambled = true;
    text.bytes = Descramble(*bytes);
    // The game reads a scrambled file through its plain copy; the copy is
    // written and removed the same way here, so the folder sees what the game
    // would do to it.
    if (folder.WriteFile(kTempPlainCopy, text.bytes)) folder.RemoveFile(kTempPlainCopy);
    return text;
}

}  // namespace venuecheck
