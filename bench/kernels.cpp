// The checker's inner loops, each against what its input costs to touch:
//
// - PegGrid: the peg data analysis of a 480 by 480 grid, in cells per
//   second, beside a plain pass that reads the same bytes of every cell (mask
//   and depth) and sums them; grids with a few dozen object masks, with a
//   mask of its own in every covered cell (1, 2, 3, ...), and with such masks
//   scattered over all 32 bits. The File variants read the grid from a file
//   as a check run does, beside reading the file and summing.
// - StockReader, SpeciesReader, IniReader and PegFileReader: the keyword and
//   INI readers over the files of a generated game, in bytes per second.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/game_folder.h"
#include "common/host_file.h"
#include "common/ini_file.h"
#include "common/scrambled_file.h"
#include "gamegen/peg_data.h"
#include "gamegen/synthetic_game.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "species/species_catalogue.h"
#include "species/species_keywords.h"
#include "stocks/stock_parser.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;

constexpr int kGridRows = 480;  // of 480 cells: the grids of scale L

enum GridKind { kFewMasks = 0, kDistinctMasks = 1, kScatteredMasks = 2, kManyMasks = 3 };

// A mask of its own in every covered cell, as kDistinctMasks, but spread
// over all 32 object bits (all of them above the first 18 objects), in the
// same depths and share of bare cells.
std::string MakeScatteredGrid() {
    std::vector<gamegen::PegCell> cells;
    for (uint32_t i = 0; i < uint32_t{kGridRows} * 480; ++i) {
        const uint32_t mask = i % 6 == 0 ? 0 : ((i + 1) * 0x9E3779B1u) | 0x40000000u;
        cells.push_back({mask, static_cast<uint8_t>(1 + i % 140)});
    }
    return gamegen::MakePegDataOfCells(32, 1, 1, std::move(cells));
}

// 400 combinations of 24 objects in turn, so that nearly every cell holds
// another mask than the one before, in the same depths and share of bare
// cells.
std::vector<uint32_t> ManyMasks() {
    std::vector<uint32_t> masks;
    uint32_t x = 12345;
    while (masks.size() < 400) {
        x = x * 1664525u + 1013904223u;
        const uint32_t mask = (x >> 4) & 0xFFFFFFu;
        if (mask != 0 && std::find(masks.begin(), masks.end(), mask) == masks.end()) {
            masks.push_back(mask);
        }
    }
    return masks;
}

std::string MakeGrid(GridKind kind) {
    if (kind == kScatteredMasks) return MakeScatteredGrid();
    gamegen::PegDataSpec spec;
    spec.objects = 24;
    spec.cellWidth = 1;
    spec.cellHeight = 1;
    spec.rows = kGridRows;
    // Midway in the ranges of the generated games.
    spec.depths = gamegen::DepthPattern::kDistinct;
    spec.distinctDepths = 140;
    spec.barePercent = 17;
    if (kind == kFewMasks) {
        spec.masks = gamegen::MaskPattern::kDistinct;
        spec.distinctMasks = 60;
    } else if (kind == kManyMasks) {
        spec.masks = gamegen::MaskPattern::kCycle;
        spec.maskCycle = ManyMasks();
    } else {
        spec.masks = gamegen::MaskPattern::kAllDistinct;
    }
    return gamegen::MakePegData(spec);
}

const char* KindName(GridKind kind) {
    switch (kind) {
        case kFewMasks:
            return "few masks";
        case kDistinctMasks:
            return "distinct masks";
        case kScatteredMasks:
            return "scattered masks";
        case kManyMasks:
            return "many masks";
    }
    return "";
}

// Sums the mask and the depth of every cell, the bytes the analysis reads.
uint64_t PlainSum(const unsigned char* cells, size_t count) {
    uint64_t sum = 0;
    for (size_t i = 0; i < count; ++i) {
        uint32_t mask;
        std::memcpy(&mask, cells + i * kPegCellSize, sizeof mask);
        sum += mask + cells[i * kPegCellSize + 4];
    }
    return sum;
}

void PegGridPlainPass(benchmark::State& state) {
    const auto kind = static_cast<GridKind>(state.range(0));
    const std::string bytes = MakeGrid(kind);
    const auto* cells = reinterpret_cast<const unsigned char*>(bytes.data()) + kPegDataHeaderSize;
    const size_t count = (bytes.size() - kPegDataHeaderSize) / kPegCellSize;
    for (auto _ : state) benchmark::DoNotOptimize(PlainSum(cells, count));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
    state.SetLabel(KindName(kind));
}

void PegGridAnalysis(benchmark::State& state) {
    const auto kind = static_cast<GridKind>(state.range(0));
    const PegData data = ReadPegData(MakeGrid(kind));
    PegRecord peg;
    peg.DPRatio = 1.5f;
    PegAnalysis analysis;
    for (auto _ : state) benchmark::DoNotOptimize(AnalysePegData(*data.grid, peg, analysis));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * data.grid->CellCount()));
    state.SetLabel(KindName(kind));
}

// A grid written to a temporary game folder, for the variants that read it.
class GridFile {
public:
    explicit GridFile(GridKind kind)
        : root_(fs::temp_directory_path() / ("venuecheck-kernels-grid-" + std::to_string(kind))) {
        fs::create_directories(root_);
        std::ofstream(root_ / "grid.dat", std::ios::binary) << MakeGrid(kind);
    }
    ~GridFile() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const fs::path& Root() const { return root_; }

private:
    fs::path root_;
};

void PegGridFilePlainPass(benchmark::State& state) {
    const auto kind = static_cast<GridKind>(state.range(0));
    const GridFile grid(kind);
    const GameFolder folder(grid.Root());
    std::vector<char> piece(16384 * kPegCellSize);
    size_t cells = 0;
    for (auto _ : state) {
        auto file = folder.OpenFile("grid.dat");
        char head[kPegDataHeaderSize];
        file->Read(head, sizeof head);
        uint64_t sum = 0;
        cells = 0;
        for (size_t got; (got = file->Read(piece.data(), piece.size())) > 0;) {
            sum +=
                PlainSum(reinterpret_cast<const unsigned char*>(piece.data()), got / kPegCellSize);
            cells += got / kPegCellSize;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * cells));
    state.SetLabel(KindName(kind));
}

void PegGridFileAnalysis(benchmark::State& state) {
    const auto kind = static_cast<GridKind>(state.range(0));
    const GridFile grid(kind);
    const GameFolder folder(grid.Root());
    PegRecord peg;
    peg.DPRatio = 1.5f;
    size_t cells = 0;
    // One analysis for every grid, as a check run keeps it.
    PegAnalysis analysis;
    for (auto _ : state) {
        analysis.Clear();
        const PegDataOutline outline = AnalysePegDataFile(folder, "grid.dat", peg, analysis);
        cells = static_cast<size_t>(outline.cellsPerRow) * static_cast<size_t>(outline.rows);
        benchmark::DoNotOptimize(analysis.averageDepth);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * cells));
    state.SetLabel(KindName(kind));
}

// Every kind of grid, timed in microseconds.
void GridKinds(benchmark::internal::Benchmark* kernel) {
    kernel->Arg(kFewMasks)->Arg(kManyMasks)->Arg(kDistinctMasks)->Arg(kScatteredMasks);
    kernel->Unit(benchmark::kMicrosecond);
}

BENCHMARK(PegGridPlainPass)->Apply(GridKinds);
BENCHMARK(PegGridAnalysis)->Apply(GridKinds);
BENCHMARK(PegGridFilePlainPass)->Apply(GridKinds);
BENCHMARK(PegGridFileAnalysis)->Apply(GridKinds);

// The text files of a generated game (scale S with the stock files, species
// and venues of scale M), read once into memory, scrambled ones descrambled.
class TextFiles {
public:
    static const TextFiles& Get() {
        static const TextFiles files;
        return files;
    }

    std::vector<std::string> stocks;
    std::vector<std::string> species;
    std::vector<std::string> pegs;  // peg files
    std::vector<std::string> venues;
    SpeciesCatalogue catalogue;

private:
    TextFiles() {
        const fs::path root = fs::temp_directory_path() / "venuecheck-kernels-game";
        std::error_code ec;
        fs::remove_all(root, ec);
        gamegen::GameSpec spec = gamegen::GameSpecForScale(gamegen::GameScale::kSmall);
        spec.pegs = 100;
        spec.rows = 1;
        spec.stockFiles = 1000;
        spec.species = 300;
        spec.venues = 50;
        if (!gamegen::MakeGame(spec, root).Ok()) {
            std::fprintf(stderr, "venuecheck_kernels: cannot write %s\n", root.string().c_str());
            std::exit(1);
        }
        const GameFolder folder(root);
        catalogue.LoadSpecies(folder);
        Load(folder, "stocks/", "*.stk", stocks);
        Load(folder, "species/", "*.sp", species);
        Load(folder, "venues/bench/", "*.peg", pegs);
        Load(folder, "venues/", "*.ven", venues);
        fs::remove_all(root, ec);
    }

    static void Load(const GameFolder& folder, const std::string& dir, const char* pattern,
                     std::vector<std::string>& into) {
        for (const std::string& name : folder.FindFiles(dir + pattern)) {
            auto bytes = folder.ReadFile(dir + name);
            if (!bytes) continue;
            into.push_back(IsScrambled(*bytes) ? Descramble(*bytes) : std::move(*bytes));
        }
    }
};

int64_t TotalBytes(const std::vector<std::string>& files) {
    int64_t total = 0;
    for (const auto& file : files) total += static_cast<int64_t>(file.size());
    return total;
}

void StockReader(benchmark::State& state) {
    const TextFiles& files = TextFiles::Get();
    for (auto _ : state) {
        RecordingPane pane;
        Report report(pane);
        const StockContext context{files.catalogue, report, nullptr};
        for (const std::string& content : files.stocks) {
            StockRecord stock = NewStock(files.catalogue);
            stock.fileName = "stocks/stk.stk";
            ReadStockContent(content, stock, context);
            benchmark::DoNotOptimize(stock.easeScore);
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files.stocks));
}

void SpeciesReader(benchmark::State& state) {
    const TextFiles& files = TextFiles::Get();
    for (auto _ : state) {
        for (const std::string& content : files.species) {
            SpeciesRecord species;
            ReadSpeciesText(content, species);
            benchmark::DoNotOptimize(species.maxSize);
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files.species));
}

void IniReader(benchmark::State& state) {
    const TextFiles& files = TextFiles::Get();
    for (auto _ : state) {
        for (const std::string& content : files.venues) {
            benchmark::DoNotOptimize(IniFile::Parse(content));
        }
        for (const std::string& content : files.pegs) {
            benchmark::DoNotOptimize(IniFile::Parse(content));
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            (TotalBytes(files.venues) + TotalBytes(files.pegs)));
}

void PegFileReader(benchmark::State& state) {
    const TextFiles& files = TextFiles::Get();
    for (auto _ : state) {
        for (const std::string& content : files.pegs) {
            benchmark::DoNotOptimize(ReadPegFile(content, "venues/bench/peg.peg"));
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files.pegs));
}

BENCHMARK(StockReader)->Unit(benchmark::kMicrosecond);
BENCHMARK(SpeciesReader)->Unit(benchmark::kMicrosecond);
BENCHMARK(IniReader)->Unit(benchmark::kMicrosecond);
BENCHMARK(PegFileReader)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace venuecheck

BENCHMARK_MAIN();
