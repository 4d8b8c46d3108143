// Writes one peg data file (object table and depth grid) from command-line
// options.

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gamegen/file_output.h"
#include "gamegen/peg_data.h"

namespace {

using venuecheck::gamegen::DepthPattern;
using venuecheck::gamegen::MaskPattern;
using venuecheck::gamegen::PegDataSpec;

// A whole number, decimal or with a 0x prefix hexadecimal, filling the text.
std::optional<uint64_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<uint64_t>> ParseList(std::string_view text) {
    std::vector<uint64_t> values;
    while (true) {
        const size_t comma = text.find(',');
        const auto value = ParseNumber(text.substr(0, comma));
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (comma == std::string_view::npos) return values;
        text.remove_prefix(comma + 1);
    }
}

// Splits "name:argument" into its two parts (the argument may be empty).
std::pair<std::string_view, std::string_view> SplitPattern(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return {text, {}};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

std::string ApplyDepths(std::string_view text, PegDataSpec& spec) {
    const auto [name, argument] = SplitPattern(text);
    const std::string bad = "--depths " + std::string(text) +
                            ": expected zero, const:V, cycle:V,V,..., every or distinct:N "
                            "(V from 0 to 255, N from 0 to 255)";
    if (name == "zero" && argument.empty()) {
        spec.depths = DepthPattern::kZero;
    } else if (name == "every" && argument.empty()) {
        spec.depths = DepthPattern::kEveryValue;
    } else if (name == "const") {
        const auto value = ParseNumber(argument);
        if (!value || *value > 255) return bad;
        spec.depths = DepthPattern::kConstant;
        spec.depth = static_cast<uint8_t>(*value);
    } else if (name == "cycle") {
        const auto values = ParseList(argument);
        if (!values) return bad;
        spec.depths = DepthPattern::kCycle;
        spec.depthCycle.clear();
        for (uint64_t value : *values) {
            if (value > 255) return bad;
            spec.depthCycle.push_back(static_cast<uint8_t>(value));
        }
    } else if (name == "distinct") {
        const auto value = ParseNumber(argument);
        if (!value || *value > 255) return bad;
        spec.depths = DepthPattern::kDistinct;
        spec.distinctDepths = static_cast<int>(*value);
    } else {
        return bad;
    }
    return {};
}

std::string ApplyMasks(std::string_view text, PegDataSpec& spec) {
    const auto [name, argument] = SplitPattern(text);
    const std::string bad = "--masks " + std::string(text) +
                            ": expected zero, const:M, cycle:M,M,..., distinct:K or all-distinct "
                            "(M a 32-bit mask, decimal or 0x hexadecimal)";
    constexpr uint64_t kMaxMask = 0xFFFFFFFFull;
    if (name == "zero" && argument.empty()) {
        spec.masks = MaskPattern::kZero;
    } else if (name == "all-distinct" && argument.empty()) {
        spec.masks = MaskPattern::kAllDistinct;
    } else if (name == "const") {
        const auto value = ParseNumber(argument);
        if (!value || *value > kMaxMask) return bad;
        spec.masks = MaskPattern::kConstant;
        spec.mask = static_cast<uint32_t>(*value);
    } else if (name == "cycle") {
        const auto values = ParseList(argument);
        if (!values) return bad;
        spec.masks = MaskPattern::kCycle;
        spec.maskCycle.clear();
        for (uint64_t value : *values) {
            if (value > kMaxMask) return bad;
            spec.maskCycle.push_back(static_cast<uint32_t>(value));
        }
    } else if (name == "distinct") {
        const auto value = ParseNumber(argument);
        if (!value || *value > kMaxMask) return bad;
        spec.masks = MaskPattern::kDistinct;
        spec.distinctMasks = static_cast<int>(std::min<uint64_t>(*value, INT32_MAX));
    } else {
        return bad;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Writes one peg data file: a 416-byte object table, cell height and width, and a grid "
        "of 7-byte cells (object mask, depth). The same options always give the same bytes."};
    PegDataSpec spec;
    std::string out;
    std::string depths = "distinct:100";
    std::string masks = "distinct:100";
    std::vector<int> slots;
    size_t length = 0;

    app.add_option("--out", out, "File to write")->required();
    app.add_option("--objects", spec.objects, "Object-table slots in use, the first N of 32")
        ->check(CLI::Range(0, 32))
        ->capture_default_str();
    auto* slotsOption = app.add_option("--object-slots", slots,
                                       "Exactly these slots (0..31) in use, instead of --objects")
                            ->delimiter(',')
                            ->check(CLI::Range(0, 31));
    app.add_option("--cell-height", spec.cellHeight, "Cell height, signed 16-bit")
        ->capture_default_str();
    app.add_option("--cell-width", spec.cellWidth,
                   "Cell width, signed 16-bit; 480 / width cells per row (a width below 1 or "
                   "above 480 gives no grid)")
        ->capture_default_str();
    app.add_option("--rows", spec.rows, "Rows of cells")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    auto* lengthOption =
        app.add_option("--length", length,
                       "File length in bytes: cut or padded with zero bytes (default 424 + 7 "
                       "bytes per cell)");
    app.add_option("--depths", depths,
                   "Depths: zero | const:V | cycle:V,V,... | every (1..255 in turn) | distinct:N "
                   "(1..N in turn)")
        ->capture_default_str();
    app.add_option("--masks", masks,
                   "Masks of the covered water cells: zero | const:M | cycle:M,M,... | "
                   "distinct:K (1..K in turn) | all-distinct")
        ->capture_default_str();
    app.add_option("--bare-percent", spec.barePercent,
                   "Percentage of water cells left bare (mask 0), spread evenly")
        ->check(CLI::Range(0, 100))
        ->capture_default_str();
    CLI11_PARSE(app, argc, argv);

    for (const std::string& error : {ApplyDepths(depths, spec), ApplyMasks(masks, spec)}) {
        if (!error.empty()) {
            std::cerr << "make_peg_data: " << error << "\n";
            return 2;
        }
    }
    if (slotsOption->count() > 0) {
        spec.objectTable = venuecheck::gamegen::ObjectTableWithSlots(slots);
    }
    if (lengthOption->count() > 0) spec.length = length;

    // Far beyond any peg of the game (480 cells of one inch by a few thousand
    // rows), and still small enough to build in memory.
    constexpr uint64_t kMaxLength = uint64_t{1} << 30;
    if (venuecheck::gamegen::PegDataLength(spec) > kMaxLength) {
        std::cerr << "make_peg_data: the file would be " << venuecheck::gamegen::PegDataLength(spec)
                  << " bytes long; at most 1 GiB is written (fewer --rows or a smaller "
                     "--length)\n";
        return 2;
    }
    const std::string bytes = venuecheck::gamegen::MakePegData(spec);
    std::string error;
    if (!venuecheck::gamegen::WriteWholeFile(out, bytes, error)) {
        std::cerr << "make_peg_data: " << error << "\n";
        return 1;
    }
    std::cout << "make_peg_data: wrote " << out << " (" << bytes.size() << " bytes)\n";
    return 0;
}
