// Every kind of file the checker reads, broken in every way we know of, in an
// otherwise sound game: each whole check run must finish with its report, in
// bounded time and memory, and leave the game folder as it was.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../../fuzz/folder_snapshot.h"
#include "common/scrambled_file.h"
#include "robustness/isolated_check.h"
#include "robustness/sound_game.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::FileKind;
using test::RandomBytes;
using test::TempFolder;

// The child's peak memory may reach this much (a 100 MB file is held a few
// times over while it is read); the sanitizers' shadow memory and quarantine
// come on top.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kMemoryLimitKb = 3L << 20;
#else
constexpr long kMemoryLimitKb = 1L << 20;
#endif

constexpr size_t kHugeSize = size_t{100} << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Every value after '=' and every word after the first of a line padded to
// 10,000 characters by repeating its last character.
std::string LongValues(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t end = std::min(text.find('\n', i), text.size());
        const std::string line = text.substr(i, end - i);
        i = end + 1;
        std::string padded;
        bool firstWord = true;
        bool afterEquals = false;
        size_t j = 0;
        while (j < line.size()) {
            if (IsBlank(line[j])) {
                padded.push_back(line[j++]);
                continue;
            }
            size_t k = j;
            while (k < line.size() && !IsBlank(line[k])) ++k;
            std::string word = line.substr(j, k - j);
            const size_t equals = word.find('=');
            if (firstWord && equals != std::string::npos && equals + 1 < word.size()) {
                const std::string value = word.substr(equals + 1);
                word = word.substr(0, equals + 1) + value +
                       std::string(10000 - value.size(), value.back());
                afterEquals = true;
            } else if (!firstWord && !afterEquals && word.size() < 10000) {
                word += std::string(10000 - word.size(), word.back());
            }
            padded += word;
            firstWord = false;
            j = k;
        }
        out += padded;
        if (end < text.size()) out.push_back('\n');
    }
    return out;
}

// The file's lines, "END" lines left out so a keyword reader reads on, each
// time followed by a comment line of 64 KB, repeated up to 100 MB: the whole
// file is read, without millions of statements to carry out.
std::string HugeText(const std::string& original) {
    std::string unit;
    size_t i = 0;
    while (i < original.size()) {
        const size_t end = std::min(original.find('\n', i), original.size() - 1);
        const std::string line = original.substr(i, end + 1 - i);
        i = end + 1;
        if (line.rfind("END", 0) != 0) unit += line;
    }
    unit += ";" + std::string(size_t{1} << 16, 'c') + "\r\n";
    std::string huge;
    huge.reserve(kHugeSize + unit.size());
    while (huge.size() < kHugeSize) huge += unit;
    return huge;
}

std::string HugePegData() {
    gamegen::PegDataSpec spec;
    spec.cellWidth = 4;
    spec.rows = static_cast<int>(kHugeSize / (7 * 120)) + 1;
    spec.depths = gamegen::DepthPattern::kEveryValue;
    spec.masks = gamegen::MaskPattern::kDistinct;
    spec.distinctMasks = 5000;
    return gamegen::MakePegData(spec);
}

struct Variant {
    const char* name;
    // The new content from the kind and the sound content.
    std::function<std::string(const FileKind&, const std::string&)> make;
    bool textOnly = false;
    bool huge = false;
};

const std::vector<Variant>& Variants() {
    static const std::vector<Variant> variants = {
        {"empty", [](const FileKind&, const std::string&) { return std::string(); }},
        {"truncated",
         [](const FileKind&, const std::string& s) { return s.substr(0, s.size() / 2); }},
        {"cut_at_first_line",
         [](const FileKind&, const std::string& s) { return s.substr(0, s.find('\n')); }},
        {"binary", [](const FileKind&, const std::string&) { return RandomBytes(1 << 16, 7); }},
        {"scrambled_binary",
         [](const FileKind&, const std::string&) { return Scramble(RandomBytes(4096, 8)); }},
        {"nul_bytes",
         [](const FileKind&, const std::string& s) {
             std::string out = s;
             for (size_t i = 3; i < out.size(); i += 5) out[i] = '\0';
             return out;
         }},
        {"bytes_0x80_to_0xff_everywhere",
         [](const FileKind&, const std::string& s) {
             std::string out;
             for (size_t i = 0; i < s.size(); ++i) {
                 out.push_back(s[i]);
                 out.push_back(static_cast<char>(0x80 + i % 0x80));
             }
             return out;
         }},
        {"all_bytes_high",
         [](const FileKind&, const std::string& s) {
             std::string out = s;
             for (char& c : out) {
                 if (!IsBlank(c)) c = static_cast<char>(static_cast<unsigned char>(c) | 0x80);
             }
             return out;
         }},
        {"line_of_1_mb",
         [](const FileKind&, const std::string& s) {
             return std::string(1 << 20, 'x') + "\r\n" + s;
         },
         true},
        {"line_of_1_mb_without_line_end",
         [](const FileKind&, const std::string& s) { return s + std::string(1 << 20, 'w'); }, true},
        {"values_and_words_of_10000_characters",
         [](const FileKind&, const std::string& s) { return LongValues(s); }, true},
        {"huge_100_mb",
         [](const FileKind& kind, const std::string& s) {
             return kind.text ? HugeText(s) : HugePegData();
         },
         false, true},
    };
    return variants;
}

struct BadFileCase {
    FileKind kind;
    const Variant* variant;
};

// The 100 MB files cost time: only the venue file, the peg data and the stock
// file, the three readers that walk a whole big file, get one.
bool WantsHuge(const FileKind& kind) {
    const std::string name = kind.name;
    return name == "venue" || name == "peg_data" || name == "stock";
}

std::vector<BadFileCase> BadFileCases() {
    std::vector<BadFileCase> cases;
    for (const FileKind& kind : test::FileKinds()) {
        for (const Variant& variant : Variants()) {
            if (variant.textOnly && !kind.text) continue;
            if (variant.huge && !WantsHuge(kind)) continue;
            cases.push_back({kind, &variant});
        }
    }
    return cases;
}

void PrintTo(const BadFileCase& c, std::ostream* out) {
    *out << c.kind.name << " " << c.variant->name;
}

class BadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadFile, CheckRunFinishesWithReportAndLeavesGameAlone) {
    const FileKind& kind = GetParam().kind;
    TempFolder game;
    std::string error;
    ASSERT_TRUE(test::WriteSoundGame(game.Path(), error)) << error;
    bool scrambled = false;
    {
        const std::string bytes = GetParam().variant->make(kind, game.Read(kind.path));
        scrambled = IsScrambled(bytes);
        game.Write(kind.path, bytes);
    }
    const auto before = snapshot::TakeSnapshot(game.Path());

    const test::IsolatedResult result = test::RunIsolatedCheck(game.Path());
    ASSERT_TRUE(result.Finished()) << result.problem;
    ASSERT_EQ(result.reports.size(), 1u);
    const std::string& report = result.reports.front();
    EXPECT_NE(report.find("Venue details"), std::string::npos);
    EXPECT_TRUE(test::HasFindingLine(report)) << report.substr(0, 4000);
    EXPECT_LT(result.peakMemoryKb, kMemoryLimitKb);

    EXPECT_EQ(snapshot::UndocumentedChanges(before, snapshot::TakeSnapshot(game.Path()), scrambled),
              "");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, BadFile, ::testing::ValuesIn(BadFileCases()),
                         [](const ::testing::TestParamInfo<BadFileCase>& param) {
                             return std::string(param.param.kind.name) + "_" +
                                    param.param.variant->name;
                         });

}  // namespace
}  // namespace venuecheck
