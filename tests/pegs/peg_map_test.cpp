#include "pegs/peg_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/game_folder.h"
#include "gamegen/peg_data.h"
#include "pegs/peg_catalogue.h"
#include "support/png_decode.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using gamegen::MakePegDataOfCells;

// The map of a peg data file's bytes; fails the test when it holds no grid.
IndexedImage MapOf(const std::string& bytes, float dpRatio) {
    const PegData data = ReadPegData(bytes);
    const auto cellSize = ReadPegCellSize(bytes);
    EXPECT_TRUE(data.grid && cellSize);
    if (!data.grid || !cellSize) return {};
    return DrawPegMap(*data.grid, *cellSize, dpRatio);
}

const PegMapDepthBand& Band(size_t i) {
    return PegMapDepthScale().at(i);
}
const PegMapDepthBand& Deepest() {
    return PegMapDepthScale().back();
}

std::array<uint8_t, 3> Rgb(PaletteColour c) {
    return {c.red, c.green, c.blue};
}

TEST(DrawPegMap, EachCellAtItsPlaceInItsColour) {
    // Two cells a row (240 units each), two rows 3 units high, DPRatio 2:
    // land; 10" with an object; 400" bare; 80" with an object.
    const std::string bytes =
        MakePegDataOfCells(16, 3, 240, {{0, 0}, {5, 5}, {0, 200}, {1u << 31, 40}});
    const IndexedImage map = MapOf(bytes, 2.0f);
    ASSERT_EQ(map.width, 480);
    ASSERT_EQ(map.height, 6);
    struct Pixel {
        int32_t x, y;
        PaletteColour colour;
        const char* what;
    };
    const Pixel pixels[] = {
        {0, 0, kPegMapLand, "land"},
        {239, 2, kPegMapLand, "land, last pixel of the cell"},
        {240, 0, Band(0).covered, "shallow, with an object"},
        {479, 2, Band(0).covered, "shallow, last pixel"},
        {0, 3, Deepest().bare, "deep, bare"},
        {239, 5, Deepest().bare, "deep, bare, last pixel"},
        {240, 3, Band(4).covered, "80\" with the top object"},
    };
    for (const Pixel& p : pixels) EXPECT_EQ(map.ColourAt(p.x, p.y), p.colour) << p.what;

    // The same pixels in the PNG file.
    const auto png = test::DecodePng(EncodePng(map));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 480u);
    EXPECT_EQ(png->height, 6u);
    for (const Pixel& p : pixels) {
        EXPECT_EQ(png->At(static_cast<uint32_t>(p.x), static_cast<uint32_t>(p.y)), Rgb(p.colour))
            << p.what;
    }
}

TEST(DrawPegMap, CellSizesKeepTheProportions) {
    struct Case {
        int16_t cellHeight, cellWidth;
        size_t rows;
        int32_t width, height;
        int32_t lastCellEnd;  // units covered by whole cells in a row
    };
    const Case cases[] = {
        {4, 4, 10, 480, 40, 480},  {8, 4, 10, 480, 80, 480}, {1, 1, 3, 480, 3, 480},
        {-5, 16, 2, 480, 10, 480},  // a negative height counts by its size
        {2, 7, 3, 480, 6, 476},     // 68 cells of 7 leave 4 units
        {1, 480, 5, 480, 5, 480},  {3, 241, 2, 480, 6, 241},  // one cell a row
    };
    for (const Case& c : cases) {
        const size_t cellsPerRow = static_cast<size_t>(480 / c.cellWidth);
        const std::vector<PegCell> cells(cellsPerRow * c.rows, PegCell{1, 10});
        const IndexedImage map =
            MapOf(MakePegDataOfCells(16, c.cellHeight, c.cellWidth, cells), 1.0f);
        EXPECT_EQ(map.width, c.width) << c.cellWidth;
        EXPECT_EQ(map.height, c.height) << c.cellHeight;
        if (map.Empty()) continue;
        EXPECT_EQ(map.ColourAt(c.lastCellEnd - 1, c.height - 1), Band(0).covered) << c.cellWidth;
        if (c.lastCellEnd < 480) {
            EXPECT_EQ(map.ColourAt(c.lastCellEnd, 0), kPegMapBeyond) << c.cellWidth;
            EXPECT_EQ(map.ColourAt(479, c.height - 1), kPegMapBeyond) << c.cellWidth;
        }
    }
}

TEST(DrawPegMap, DepthsOnOneFixedScale) {
    // Depth 12 is 1' 0" at DPRatio 1 (the first band) and 3' 0" at DPRatio
    // 3; depth 13 at DPRatio 1 is past the first band.
    const std::string bytes = MakePegDataOfCells(16, 1, 160, {{1, 12}, {1, 13}, {0, 12}});
    const IndexedImage one = MapOf(bytes, 1.0f);
    const IndexedImage three = MapOf(bytes, 3.0f);
    EXPECT_EQ(one.ColourAt(0, 0), Band(0).covered);
    EXPECT_EQ(one.ColourAt(160, 0), Band(1).covered);
    EXPECT_EQ(one.ColourAt(320, 0), Band(0).bare);
    EXPECT_EQ(three.ColourAt(0, 0), Band(2).covered);
    EXPECT_EQ(three.ColourAt(320, 0), Band(2).bare);
    // A ratio of 0 or below puts all water in the shallowest band.
    EXPECT_EQ(MapOf(bytes, -1.0f).ColourAt(160, 0), Band(0).covered);
    EXPECT_EQ(MapOf(bytes, 0.0f).ColourAt(320, 0), Band(0).bare);
}

TEST(PegMapDepthScale, LabelsInFeetAndInchesAndColoursApart) {
    const auto& scale = PegMapDepthScale();
    ASSERT_EQ(scale.size(), 7u);
    EXPECT_EQ(scale.front().label, "up to 1' 0\"");
    EXPECT_EQ(scale[1].label, "1' 0\" to 2' 0\"");
    EXPECT_EQ(scale[4].label, "6' 0\" to 9' 0\"");
    EXPECT_EQ(scale.back().label, "deeper than 14' 0\"");
    EXPECT_TRUE(std::isinf(scale.back().deepest));
    const auto lightness = [](PaletteColour c) { return c.red + c.green + c.blue; };
    for (size_t i = 0; i < scale.size(); ++i) {
        EXPECT_NE(scale[i].covered, scale[i].bare) << i;
        EXPECT_NE(scale[i].covered, kPegMapLand) << i;
        EXPECT_NE(scale[i].bare, kPegMapLand) << i;
        // Blue where there are objects, orange where there are none.
        EXPECT_GT(scale[i].covered.blue, scale[i].covered.red) << i;
        EXPECT_GT(scale[i].bare.red, scale[i].bare.blue) << i;
        if (i == 0) continue;
        EXPECT_GT(scale[i - 1].deepest, 0.0f);
        EXPECT_LT(scale[i - 1].deepest, scale[i].deepest) << i;
        EXPECT_LT(lightness(scale[i].covered), lightness(scale[i - 1].covered)) << i;
        EXPECT_LT(lightness(scale[i].bare), lightness(scale[i - 1].bare)) << i;
    }
}

TEST(DrawPegMap, GridOfNoRowsGivesNoMap) {
    const std::string bytes = MakePegDataOfCells(16, 4, 4, {});
    const PegData data = ReadPegData(bytes);
    ASSERT_TRUE(data.grid);
    EXPECT_TRUE(DrawPegMap(*data.grid, *ReadPegCellSize(bytes), 1.0f).Empty());
}

TEST(DrawPegMap, TallGridScaledDownWithItsProportions) {
    // 480 x 100,000 cells of 1 unit: the top half dry, the bottom half water,
    // each row's first 240 cells with an object, the rest bare.
    constexpr size_t kRows = 100000;
    constexpr size_t kCellsPerRow = 480;
    std::string bytes(kPegDataHeaderSize + kRows * kCellsPerRow * kPegCellSize, '\0');
    bytes[kObjectTableSize] = 1;      // cell height 1
    bytes[kObjectTableSize + 2] = 1;  // cell width 1
    std::string row(kCellsPerRow * kPegCellSize, '\0');
    for (size_t column = 0; column < kCellsPerRow; ++column) {
        if (column < 240) row[column * kPegCellSize] = 1;
        row[column * kPegCellSize + 4] = 30;
    }
    for (size_t at = kRows / 2; at < kRows; ++at) {
        row.copy(bytes.data() + kPegDataHeaderSize + at * row.size(), row.size());
    }
    const auto cellSize = ReadPegCellSize(bytes);
    ASSERT_TRUE(cellSize);
    const PegData data = ReadPegData(std::move(bytes));
    ASSERT_TRUE(data.grid);
    ASSERT_EQ(data.grid->Rows(), static_cast<int32_t>(kRows));
    const IndexedImage map = DrawPegMap(*data.grid, *cellSize, 1.0f);
    EXPECT_EQ(map.height, kPegMapMaxHeight);
    EXPECT_EQ(map.width, 7);  // 480 x 1440 / 100,000, rounded
    ASSERT_FALSE(map.Empty());
    EXPECT_EQ(map.ColourAt(0, 0), kPegMapLand);
    EXPECT_EQ(map.ColourAt(6, 719), kPegMapLand);
    EXPECT_EQ(map.ColourAt(0, 720), Band(2).covered);
    EXPECT_EQ(map.ColourAt(6, 1439), Band(2).bare);

    const auto png = test::DecodePng(EncodePng(map));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 7u);
    EXPECT_EQ(png->height, 1440u);
    EXPECT_EQ(png->At(0, 1439), Rgb(Band(2).covered));
}

TEST(ReadPegCellSize, FromTheHeaderAsTheGridIsLaidOut) {
    struct Case {
        size_t length;
        int16_t height, width;
        std::optional<PegCellSize> size;
    };
    const Case cases[] = {
        {424, 4, 4, PegCellSize{4, 4}}, {424, -3, 480, PegCellSize{480, 3}},
        {424, 0, 4, std::nullopt},      {424, 4, 0, std::nullopt},
        {424, 4, -4, std::nullopt},     {424, 4, 481, std::nullopt},
        {423, 4, 4, std::nullopt},
    };
    for (const Case& c : cases) {
        std::string bytes(c.length, '\0');
        for (const auto& [offset, value] :
             {std::pair{kObjectTableSize, c.height}, std::pair{kObjectTableSize + 2, c.width}}) {
            if (offset + 1 >= bytes.size()) continue;
            bytes[offset] = static_cast<char>(value & 0xff);
            bytes[offset + 1] = static_cast<char>((value >> 8) & 0xff);
        }
        const auto size = ReadPegCellSize(bytes);
        ASSERT_EQ(size.has_value(), c.size.has_value()) << c.length << " " << c.width;
        if (size) {
            EXPECT_EQ(size->width, c.size->width);
            EXPECT_EQ(size->height, c.size->height);
        }
    }
}

// Remembers what it was shown.
class SeenGrids : public PegGridObserver {
public:
    void OnPegGrid(const PegRecord& peg, const PegDataGrid* grid,
                   std::optional<PegCellSize> cellSize) override {
        names.push_back(peg.Name);
        grids.push_back(grid != nullptr);
        if (grid != nullptr) {
            EXPECT_TRUE(cellSize);
            if (cellSize) map = DrawPegMap(*grid, *cellSize, peg.DPRatio);
        }
    }
    std::vector<std::string> names;
    std::vector<bool> grids;
    IndexedImage map;
};

TEST(AnalysePegDataFileFor, SameFiguresAsPieceByPieceAndTheGridShown) {
    test::TempFolder game;
    const std::string whole = MakePegDataOfCells(9, 2, 4, std::vector<PegCell>(120 * 3, {3, 17}));
    gamegen::PegDataSpec spec;
    spec.rows = 40;
    spec.barePercent = 20;
    const std::string patterned = gamegen::MakePegData(spec);
    struct Case {
        const char* name;
        std::string data;  // the Data value
        bool grid;
    };
    game.Write("pegs/whole.dat", whole);
    game.Write("pegs/patterned.dat", patterned);
    game.Write("pegs/short.dat", patterned.substr(0, patterned.size() - 3));
    game.Write("pegs/header.dat", patterned.substr(0, 424));
    game.Write("pegs/table.dat", patterned.substr(0, 420));
    std::string noWidth = whole;
    noWidth[kObjectTableSize + 2] = 0;
    game.Write("pegs/nowidth.dat", noWidth);
    const Case cases[] = {
        {"whole", "pegs/whole.dat", true},
        {"patterned", "PEGS\\Patterned.DAT", true},
        {"cut short in its last cell", "pegs/short.dat", true},
        {"header only", "pegs/header.dat", true},
        {"object table only", "pegs/table.dat", false},
        {"cell width 0", "pegs/nowidth.dat", false},
        {"missing", "pegs/missing.dat", false},
        {"archive path", ":pegs/a.zip:b.dat", false},
        {"no Data value", "", false},
    };
    const GameFolder folder(game.Path());
    for (const Case& c : cases) {
        PegRecord peg;
        peg.Name = c.name;
        peg.DPRatio = 1.5f;
        PegAnalysis plain;
        const PegDataOutline expected = AnalysePegDataFile(folder, c.data, peg, plain);
        PegAnalysis shown;
        SeenGrids seen;
        const PegDataOutline outline = AnalysePegDataFileFor(folder, c.data, peg, shown, seen);
        EXPECT_EQ(outline.analysed, expected.analysed) << c.name;
        EXPECT_EQ(outline.objectTableRead, expected.objectTableRead) << c.name;
        EXPECT_EQ(outline.addedObjects, expected.addedObjects) << c.name;
        EXPECT_EQ(outline.cellsPerRow, expected.cellsPerRow) << c.name;
        EXPECT_EQ(outline.rows, expected.rows) << c.name;
        EXPECT_EQ(shown.waterCells, plain.waterCells) << c.name;
        EXPECT_EQ(shown.averageDepth, plain.averageDepth) << c.name;
        EXPECT_EQ(shown.shallowest, plain.shallowest) << c.name;
        EXPECT_EQ(shown.deepest, plain.deepest) << c.name;
        EXPECT_EQ(shown.depthCounts, plain.depthCounts) << c.name;
        EXPECT_EQ(shown.objectCounts, plain.objectCounts) << c.name;
        EXPECT_EQ(shown.usedObjects, plain.usedObjects) << c.name;
        EXPECT_EQ(shown.bareCells, plain.bareCells) << c.name;
        EXPECT_EQ(shown.uniqueMasks.Count(), plain.uniqueMasks.Count()) << c.name;
        ASSERT_EQ(seen.names, std::vector<std::string>{c.name});
        EXPECT_EQ(seen.grids, std::vector<bool>{c.grid}) << c.name;
    }
}

}  // namespace
}  // namespace venuecheck
