// Writes a synthetic game folder at a chosen scale, the same bytes for the
// same options and seed.

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <string>

#include "gamegen/synthetic_game.h"

namespace {

using venuecheck::gamegen::GameScale;
using venuecheck::gamegen::GameSpec;
using venuecheck::gamegen::MaskVariety;

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Writes a synthetic game folder: maxsize.txt, species, stock files, venues and pegs with "
        "their peg data grids, images and sounds. One big venue (\"Aaa Benchmark Water\", listed "
        "first) holds the pegs; the other venues share a small peg folder. Scales: S = 10 pegs of "
        "120 by 90 cells, 30 stock files, 12 species, 4 venues; M = 100 pegs of 480 by 300 cells, "
        "1,000 stock files, 300 species, 50 venues; L = 400 pegs of 480 by 480 cells, 5,000 stock "
        "files, 1,000 species, 500 venues."};
    std::string out;
    std::string scaleText = "S";
    GameSpec overrides;
    uint64_t seed = 1;
    std::string masks = "few";

    app.add_option("--out", out, "Folder to write; it must be missing or empty")->required();
    app.add_option("--scale", scaleText, "S, M or L")
        ->check(CLI::IsMember({"S", "M", "L"}, CLI::ignore_case))
        ->capture_default_str();
    app.add_option("--seed", seed, "Seed of the generated variety")->capture_default_str();
    auto* pegs = app.add_option("--pegs", overrides.pegs, "Pegs of the big venue")
                     ->check(CLI::Range(1, 9999));
    auto* cellWidth =
        app.add_option("--cell-width", overrides.cellWidth,
                       "Cell width of the big venue's grids; 480 / width cells per row")
            ->check(CLI::Range(1, 480));
    auto* rows = app.add_option("--rows", overrides.rows, "Rows of the big venue's grids")
                     ->check(CLI::Range(0, 10000));
    auto* stockFiles = app.add_option("--stock-files", overrides.stockFiles, "Stock files")
                           ->check(CLI::Range(1, 99999));
    auto* species =
        app.add_option("--species", overrides.species, "Species")->check(CLI::Range(1, 9999));
    auto* venues = app.add_option("--venues", overrides.venues, "Venues, the big one included")
                       ->check(CLI::Range(1, 9999));
    auto* sharedPegs =
        app.add_option("--shared-pegs", overrides.smallPegs, "Pegs that the small venues share")
            ->check(CLI::Range(0, 9999));
    app.add_option("--masks", masks,
                   "few: each big-venue grid cycles through a few dozen object masks; many: "
                   "through 400 combinations of its objects, so that nearly every cell holds "
                   "another mask than the one before; distinct: every covered water cell has a "
                   "mask of its own")
        ->check(CLI::IsMember({"few", "many", "distinct"}))
        ->capture_default_str();
    auto* scrambled =
        app.add_option("--scrambled-percent", overrides.scrambledPercent,
                       "Share of venue, species and stock files written scrambled (default 5)")
            ->check(CLI::Range(0, 100));
    CLI11_PARSE(app, argc, argv);

    GameSpec spec = venuecheck::gamegen::GameSpecForScale(
        venuecheck::gamegen::ParseGameScale(scaleText).value_or(GameScale::kSmall));
    spec.seed = seed;
    spec.masks = masks == "distinct" ? MaskVariety::kDistinct
                 : masks == "many"   ? MaskVariety::kMany
                                     : MaskVariety::kFew;
    if (pegs->count()) spec.pegs = overrides.pegs;
    if (cellWidth->count()) spec.cellWidth = overrides.cellWidth;
    if (rows->count()) spec.rows = overrides.rows;
    if (stockFiles->count()) spec.stockFiles = overrides.stockFiles;
    if (species->count()) spec.species = overrides.species;
    if (venues->count()) spec.venues = overrides.venues;
    if (sharedPegs->count()) spec.smallPegs = overrides.smallPegs;
    if (scrambled->count()) spec.scrambledPercent = overrides.scrambledPercent;

    const auto start = std::chrono::steady_clock::now();
    const auto summary = venuecheck::gamegen::MakeGame(spec, out);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!summary.Ok()) {
        std::cerr << "make_game: " << summary.error << "\n";
        return 1;
    }
    std::cout << "make_game: wrote " << summary.files << " files, " << summary.bytes << " bytes ("
              << std::fixed << std::setprecision(1)
              << static_cast<double>(summary.bytes) / (1024.0 * 1024.0) << " MiB) to " << out
              << " in " << std::setprecision(2) << elapsed.count() << " s\n";
    return 0;
}
