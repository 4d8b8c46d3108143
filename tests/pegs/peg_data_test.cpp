#include "pegs/peg_data.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "common/game_folder.h"
#include "gamegen/peg_data.h"
#include "pegs/peg_catalogue.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using gamegen::MakePegDataOfCells;

PegRecord PegWithRatio(float ratio) {
    PegRecord peg;
    peg.DPRatio = ratio;
    return peg;
}

// Reads the bytes and analyses their grid; fails the test when there is none.
PegAnalysis Analyse(std::string bytes, float ratio) {
    PegData data = ReadPegData(std::move(bytes));
    PegAnalysis analysis;
    EXPECT_TRUE(data.grid.has_value());
    if (!data.grid) return analysis;
    analysis.addedObjects = data.addedObjects;
    const float average = AnalysePegData(*data.grid, PegWithRatio(ratio), analysis);
    EXPECT_EQ(average, analysis.averageDepth);
    return analysis;
}

// One cell per row (cell width 480), so any number of cells is a whole grid.
std::string Column(const std::vector<gamegen::PegCell>& cells, int objects = 16) {
    return MakePegDataOfCells(objects, 4, 480, cells);
}

TEST(AnalysePegData, FourCellWorkedExample) {
    const PegAnalysis a = Analyse(Column({{0, 0}, {0, 5}, {3, 5}, {3, 10}}), 2.0f);
    EXPECT_EQ(a.waterCells, 3);
    EXPECT_FLOAT_EQ(a.averageDepth, 40.0f / 3.0f);
    EXPECT_EQ(a.shallowest, 10.0f);
    EXPECT_EQ(a.deepest, 20.0f);
    EXPECT_EQ(a.depthCounts[4], 2);
    EXPECT_EQ(a.depthCounts[9], 1);
    EXPECT_EQ(DepthCoverage(a), 2 * 0.003921569f);
    EXPECT_EQ(static_cast<int>(DepthCoverage(a) * 100.0f), 0);  // 0.78 %
    EXPECT_EQ(a.bareCells, 1);
    for (size_t bit = 0; bit < 32; ++bit) EXPECT_EQ(a.objectCounts[bit], bit < 2 ? 2 : 0) << bit;
    EXPECT_EQ(a.usedObjects, 2);
    EXPECT_EQ(a.uniqueMasks.Count(), 1u);
    EXPECT_EQ(a.addedObjects, 16);
}

TEST(AnalysePegData, GridWithoutWater) {
    // Masks on dry cells count for nothing.
    const PegAnalysis a = Analyse(Column({{7, 0}, {0, 0}, {0x80000000u, 0}}), 1.5f);
    EXPECT_EQ(a.waterCells, 0);
    EXPECT_EQ(a.averageDepth, 0.0f);
    EXPECT_EQ(a.deepest, -100.0f);
    EXPECT_EQ(a.shallowest, 450.0f);
    EXPECT_EQ(a.bareCells, 0);
    EXPECT_EQ(a.usedObjects, 0);
    EXPECT_EQ(a.uniqueMasks.Count(), 0u);
    EXPECT_EQ(DepthCoverage(a), 0.0f);
}

TEST(AnalysePegData, EveryDepthValueGivesFullCoverage) {
    std::vector<gamegen::PegCell> cells;
    for (int depth = 255; depth >= 1; --depth) cells.push_back({1, static_cast<uint8_t>(depth)});
    const PegAnalysis a = Analyse(Column(cells), 1.0f);
    EXPECT_EQ(a.waterCells, 255);
    EXPECT_EQ(a.deepest, 255.0f);
    EXPECT_EQ(a.shallowest, 1.0f);
    EXPECT_EQ(a.averageDepth, 128.0f);
    EXPECT_EQ(static_cast<int>(DepthCoverage(a) * 100.0f), 100);
}

TEST(AnalysePegData, TopMaskBitIsObject31) {
    const PegAnalysis a = Analyse(Column({{0x80000000u, 255}}), 1.0f);
    EXPECT_EQ(a.usedObjects, 1);
    EXPECT_EQ(a.objectCounts[31], 1);
    EXPECT_EQ(a.uniqueMasks.Count(), 1u);
    EXPECT_EQ(a.bareCells, 0);
    EXPECT_EQ(a.depthCounts[254], 1);
}

TEST(AnalysePegData, SameMaskInAThousandCellsIsOneArea) {
    std::vector<gamegen::PegCell> cells(1000, gamegen::PegCell{0x05, 10});
    const PegAnalysis a = Analyse(Column(cells), 2.5f);
    EXPECT_EQ(a.uniqueMasks.Count(), 1u);
    EXPECT_EQ(a.objectCounts[0], 1000);
    EXPECT_EQ(a.objectCounts[2], 1000);
    EXPECT_EQ(a.usedObjects, 2);
    EXPECT_EQ(a.deepest, 25.0f);  // depth 10 at 2.5 inches a step
}

// The figures as the plain definitions give them, cell by cell.
struct PlainFigures {
    int waterCells = 0;
    int bareCells = 0;
    double depthSum = 0;
    std::array<int, 255> depthCounts{};  // at depth - 1
    std::array<int, 32> objectCounts{};
    std::unordered_map<uint32_t, uint32_t> maskCells;  // the covered water cells of each mask

    void Add(uint32_t mask, uint8_t depth, float ratio) {
        if (depth == 0) return;
        ++waterCells;
        ++depthCounts[depth - 1u];
        depthSum += static_cast<float>(depth) * ratio;
        if (mask == 0) {
            ++bareCells;
            return;
        }
        ++maskCells[mask];
        for (size_t bit = 0; bit < 32; ++bit) {
            if (mask >> bit & 1) ++objectCounts[bit];
        }
    }
};

TEST(AnalysePegData, AgreesWithThePlainDefinitionsOnAMixedGrid) {
    std::mt19937 random(20260501);
    std::vector<gamegen::PegCell> cells;
    uint32_t mask = 1;
    for (int i = 0; i < 50000; ++i) {
        // Runs of one mask, interrupted by bare and dry cells.
        if (random() % 7 == 0) mask = static_cast<uint32_t>(random());
        const auto kind = random() % 10;
        const uint8_t depth = kind == 0 ? 0 : static_cast<uint8_t>(1 + random() % 200);
        cells.push_back({kind == 1 ? 0u : mask, depth});
    }
    PlainFigures plain;
    for (const auto& cell : cells) plain.Add(cell.mask, cell.depth, 0.75f);
    const PegAnalysis a = Analyse(Column(cells), 0.75f);
    EXPECT_EQ(a.waterCells, plain.waterCells);
    EXPECT_EQ(a.bareCells, plain.bareCells);
    EXPECT_EQ(a.averageDepth, static_cast<float>(plain.depthSum / plain.waterCells));
    EXPECT_EQ(a.uniqueMasks.Count(), plain.maskCells.size());
    for (size_t bit = 0; bit < 32; ++bit) EXPECT_EQ(a.objectCounts[bit], plain.objectCounts[bit]);
}

TEST(AnalysePegData, CountsEveryMaskWhateverTheGridMixes) {
    // Stretches of different character, one after the other: a few masks
    // cell by cell, a mask of its own in every cell, a few thousand masks
    // in turn, long runs of one mask and one depth, a few masks again, a
    // mask of its own in every cell again, low numbers and scattered ones in
    // turn, low numbers that go on rising, and a few hundred masks in turn;
    // dry cells with masks and bare cells among them all.
    std::mt19937 random(20261210);
    std::vector<gamegen::PegCell> cells;
    const auto add = [&](uint32_t mask, uint8_t depth) {
        const auto kind = random() % 12;
        if (kind == 0) depth = 0;
        if (kind == 1) mask = 0;
        cells.push_back({mask, depth});
    };
    const auto scattered = [](uint32_t i) { return (i + 1) * 0x9E3779B1u ^ 0xA5A5A5A5u; };
    for (uint32_t i = 0; i < 20000; ++i) add(scattered(i % 40), static_cast<uint8_t>(1 + i % 200));
    for (uint32_t i = 0; i < 60000; ++i)
        add(scattered(1000 + i), static_cast<uint8_t>(1 + i % 255));
    for (uint32_t i = 0; i < 60000; ++i) {
        add(scattered(100000 + static_cast<uint32_t>(random() % 3000)),
            static_cast<uint8_t>(1 + random() % 255));
    }
    for (uint32_t i = 0; i < 30000; ++i)
        add(uint32_t{1} << (i / 1000 % 32), static_cast<uint8_t>(i / 700));
    for (uint32_t i = 0; i < 20000; ++i) add(scattered(i % 40 + 7), static_cast<uint8_t>(9));
    for (uint32_t i = 0; i < 40000; ++i) {
        add(i % 3 == 0 ? scattered(200000 + i) : 3000 + i, static_cast<uint8_t>(1 + i % 250));
    }
    for (uint32_t i = 0; i < 60000; ++i) add(50000 + i, static_cast<uint8_t>(1 + i % 7));
    // 400 masks of 24 objects in turn, and then 400 of 16 objects, more
    // than the table of recent masks takes without two in a pair.
    for (uint32_t i = 0; i < 40000; ++i)
        add(scattered(300000 + i % 400) >> 8, static_cast<uint8_t>(1 + i % 9));
    for (uint32_t i = 0; i < 40000; ++i)
        add(scattered(400000 + i % 400) >> 16, static_cast<uint8_t>(1 + i % 200));

    PlainFigures plain;
    for (const auto& cell : cells) plain.Add(cell.mask, cell.depth, 0.5f);
    const PegAnalysis a = Analyse(Column(cells), 0.5f);
    EXPECT_EQ(a.waterCells, plain.waterCells);
    EXPECT_EQ(a.bareCells, plain.bareCells);
    EXPECT_EQ(a.averageDepth, static_cast<float>(plain.depthSum / plain.waterCells));
    for (size_t depth = 0; depth < 255; ++depth) {
        EXPECT_EQ(a.depthCounts[depth], plain.depthCounts[depth]);
    }
    for (size_t bit = 0; bit < 32; ++bit) EXPECT_EQ(a.objectCounts[bit], plain.objectCounts[bit]);
    ASSERT_EQ(a.uniqueMasks.Count(), plain.maskCells.size());
    for (const auto& [mask, count] : plain.maskCells) {
        ASSERT_EQ(a.uniqueMasks.CellsOf(mask), count) << mask;
    }
}

TEST(ReadPegData, LaysTheGridOutFromTheCellWidthAndTheLength) {
    struct Case {
        int16_t cellWidth;
        size_t cells;
        int32_t cellsPerRow;
        int32_t rows;
    };
    for (const Case& c : std::vector<Case>{{480, 7, 1, 7},
                                           {4, 120 * 90, 120, 90},
                                           {7, 68 * 3 + 5, 68, 3},  // a part row is left out
                                           {1, 480, 480, 1},
                                           {4, 0, 120, 0}}) {
        const PegData data = ReadPegData(
            MakePegDataOfCells(0, 4, c.cellWidth, std::vector<gamegen::PegCell>(c.cells)));
        ASSERT_TRUE(data.grid) << c.cellWidth;
        EXPECT_EQ(data.grid->CellsPerRow(), c.cellsPerRow) << c.cellWidth;
        EXPECT_EQ(data.grid->Rows(), c.rows) << c.cellWidth;
    }
}

TEST(ReadPegData, RefusesWhatCannotBeLaidOut) {
    struct Case {
        const char* name;
        std::string bytes;
        bool objectTableRead;
        int32_t addedObjects;
        bool grid;
    };
    const std::string sound = MakePegDataOfCells(5, 4, 4, {});
    auto withSize = [&sound](int16_t height, int16_t width) {
        return MakePegDataOfCells(5, height, width,
                                  std::vector<gamegen::PegCell>(480, gamegen::PegCell{1, 1}));
    };
    const std::vector<Case> cases = {
        {"empty", "", false, 0, false},
        {"415 bytes", std::string(415, 'x'), false, 0, false},
        {"416 bytes", sound.substr(0, 416), true, 5, false},
        {"419 bytes (the row count would wrap)", sound.substr(0, 419), true, 5, false},
        {"423 bytes", sound.substr(0, 423), true, 5, false},
        {"424 bytes", sound, true, 5, true},
        {"cell height 0", withSize(0, 4), true, 5, false},
        {"cell height -3", withSize(-3, 4), true, 5, true},
        {"cell width 0", withSize(4, 0), true, 5, false},
        {"cell width -4", withSize(4, -4), true, 5, false},
        {"cell width 481", withSize(4, 481), true, 5, false},
        {"cell width 480", withSize(4, 480), true, 5, true},
    };
    for (const Case& c : cases) {
        const PegData data = ReadPegData(c.bytes);
        EXPECT_EQ(data.objectTableRead, c.objectTableRead) << c.name;
        EXPECT_EQ(data.addedObjects, c.addedObjects) << c.name;
        EXPECT_EQ(data.grid.has_value(), c.grid) << c.name;
    }
}

TEST(ReadPegData, AGridShortOfItsSizeReadsTheMissingBytesAsZero) {
    // The rows are counted from 4 bytes before the grid: a file up to 4
    // bytes short still holds its last cell, cut short.
    const std::string whole = Column({{1, 3}, {2, 4}, {0xffffffffu, 9}});
    struct Case {
        size_t cut;
        int32_t rows;
        uint32_t lastMask;
        uint8_t lastDepth;
    };
    for (const Case& c : std::vector<Case>{{0, 3, 0xffffffffu, 9},
                                           {2, 3, 0xffffffffu, 9},
                                           {3, 3, 0xffffffffu, 0},
                                           {4, 3, 0x00ffffffu, 0},
                                           {5, 2, 2, 4}}) {
        const PegData data = ReadPegData(whole.substr(0, whole.size() - c.cut));
        ASSERT_TRUE(data.grid) << c.cut;
        ASSERT_EQ(data.grid->Rows(), c.rows) << c.cut;
        const PegCell last = data.grid->Cell(data.grid->CellCount() - 1);
        EXPECT_EQ(last.mask, c.lastMask) << c.cut;
        EXPECT_EQ(last.depth, c.lastDepth) << c.cut;
        PegAnalysis a;
        AnalysePegData(*data.grid, PegWithRatio(1.0f), a);
        EXPECT_EQ(a.waterCells, c.rows - (c.lastDepth == 0 ? 1 : 0)) << c.cut;
    }
}

TEST(ReadPegData, ReadsOnlyPlainFilesOfTheGameFolder) {
    test::TempFolder game;
    game.Write("pegs/Lake/Peg1.dat", Column({{1, 3}}, 7));
    std::filesystem::create_directories(game.Path() / "pegs" / "folder.dat");
    const GameFolder folder(game.Path());

    const PegData read = ReadPegData(folder, "PEGS\\lake\\peg1.dat");
    ASSERT_TRUE(read.grid);
    EXPECT_EQ(read.addedObjects, 7);
    EXPECT_EQ(read.grid->Rows(), 1);

    for (const char* path : {"pegs/lake/missing.dat", "pegs/folder.dat", "", ":pegs/lake/peg1.dat",
                             ":pegs/lake.zip/peg1.dat"}) {
        const PegData none = ReadPegData(folder, path);
        EXPECT_FALSE(none.objectTableRead) << path;
        EXPECT_FALSE(none.grid) << path;
    }
}

TEST(UniqueMaskSet, HoldsHundredsOfThousandsOfMasks) {
    UniqueMaskSet set;
    EXPECT_EQ(set.Count(), 0u);
    for (uint32_t i = 1; i <= 300000; ++i) ASSERT_TRUE(set.Add(i * 2654435761u)) << i;
    for (uint32_t i = 1; i <= 300000; ++i) ASSERT_FALSE(set.Add(i * 2654435761u)) << i;
    // Single bits and their neighbours, which a weak hash would pile up.
    int added = 0;
    for (int bit = 0; bit < 32; ++bit) added += set.Add(uint32_t{1} << bit) ? 1 : 0;
    EXPECT_EQ(set.Count(), 300000u + static_cast<size_t>(added));
    EXPECT_TRUE(set.Add(0));
    EXPECT_FALSE(set.Add(0));
    set.Clear();
    EXPECT_EQ(set.Count(), 0u);
    EXPECT_TRUE(set.Add(2654435761u));
    EXPECT_TRUE(set.Add(0));
    EXPECT_EQ(set.Count(), 2u);
}

TEST(AnalysePegData, EveryCoveredCellItsOwnMask) {
    std::vector<gamegen::PegCell> cells;
    for (uint32_t i = 1; i <= 200000; ++i) cells.push_back({i, static_cast<uint8_t>(1 + i % 255)});
    const PegAnalysis a = Analyse(Column(cells, 32), 1.0f);
    EXPECT_EQ(a.waterCells, 200000);
    EXPECT_EQ(a.uniqueMasks.Count(), 200000u);
    EXPECT_EQ(a.usedObjects, 18);  // 200000 < 2^18
    EXPECT_EQ(a.objectCounts[17], 200000 - 131071);
}

TEST(UniqueMaskSet, CountsTheCellsOfEachMaskAndTakesMasksOut) {
    UniqueMaskSet set;
    // Scattered masks, mask 0 among them, so that slots run together in
    // clusters that taking a mask out must keep searchable.
    const auto mask = [](uint32_t i) {
        uint32_t x = i * 0x9E3779B1u;
        x ^= x >> 15;
        x *= 0x85EBCA6Bu;
        return x ^ (x >> 13);
    };
    const auto cells = [](uint32_t i) { return i % 5 + 1; };
    const uint32_t n = 6000;
    for (uint32_t i = 0; i < n; ++i) ASSERT_TRUE(set.Add(mask(i), cells(i))) << i;
    EXPECT_EQ(mask(0), 0u);
    EXPECT_FALSE(set.Add(mask(3), 10));
    EXPECT_EQ(set.CellsOf(mask(3)), cells(3) + 10);
    EXPECT_FALSE(set.Add(mask(4), 0));
    EXPECT_EQ(set.Count(), n);

    std::unordered_set<uint32_t> left;
    for (uint32_t i = 0; i < n; ++i) {
        if (i % 3 == 0) {
            ASSERT_EQ(set.Remove(mask(i)), cells(i) + (i == 3 ? 10 : 0)) << i;
        } else {
            left.insert(mask(i));
        }
    }
    EXPECT_EQ(set.Remove(mask(0)), 0u);
    EXPECT_EQ(set.Count(), left.size());
    uint64_t total = 0;
    set.ForEach([&](uint32_t m, uint32_t c) {
        EXPECT_TRUE(left.count(m)) << m;
        total += c;
    });
    uint64_t expected = 0;
    for (uint32_t i = 0; i < n; ++i) {
        // Every mask left is still found after the ones beside it went.
        ASSERT_EQ(set.CellsOf(mask(i)), i % 3 == 0 ? 0u : cells(i)) << i;
        if (i % 3 != 0) expected += cells(i);
    }
    EXPECT_EQ(total, expected);
}

// Masks below 2^18 are counted in a table that grows with the highest of
// them, the others in a hash set; every way of adding and asking must see
// one set.
TEST(UniqueMaskSet, TableAndHashSetActAsOneSet) {
    std::mt19937 random(20261210);
    // Low numbers (the first table size and beyond it, up to its last mask),
    // single bits, and scattered masks of all 32 bits, repeated.
    std::vector<uint32_t> masks;
    for (uint32_t i = 0; i < 3000; ++i) masks.push_back(i);
    for (uint32_t bit = 0; bit < 32; ++bit) masks.push_back(uint32_t{1} << bit);
    for (int i = 0; i < 20000; ++i) {
        switch (random() % 4) {
            case 0:
                masks.push_back(static_cast<uint32_t>(random() % 5000));
                break;
            case 1:
                masks.push_back(static_cast<uint32_t>(random() % UniqueMaskSet::kTableMasks));
                break;
            case 2:
                masks.push_back(UniqueMaskSet::kTableMasks - 1 -
                                static_cast<uint32_t>(random() % 3));
                break;
            default:
                masks.push_back(static_cast<uint32_t>(random()));
                break;
        }
    }
    masks.push_back(UniqueMaskSet::kTableMasks);
    masks.push_back(std::numeric_limits<uint32_t>::max());

    const auto expectSame = [](const UniqueMaskSet& set,
                               const std::unordered_map<uint32_t, uint64_t>& plain,
                               const std::string& what) {
        ASSERT_EQ(set.Count(), plain.size()) << what;
        std::array<uint64_t, 32> bits{};
        for (const auto& [mask, cells] : plain) {
            ASSERT_EQ(set.CellsOf(mask), cells) << what << " " << mask;
            for (size_t bit = 0; bit < 32; ++bit) bits[bit] += (mask >> bit & 1) * cells;
        }
        size_t visited = 0;
        set.ForEach([&](uint32_t mask, uint32_t cells) {
            ++visited;
            const auto found = plain.find(mask);
            ASSERT_TRUE(found != plain.end()) << what << " " << mask;
            EXPECT_EQ(cells, found->second) << what << " " << mask;
        });
        EXPECT_EQ(visited, plain.size()) << what;
        EXPECT_EQ(set.CellsOfEachBit(), bits) << what;
    };

    UniqueMaskSet set;
    std::unordered_map<uint32_t, uint64_t> plain;
    // One at a time, with cells, and then a batch of one cell each.
    for (size_t i = 0; i < masks.size(); ++i) {
        const auto cells = static_cast<uint32_t>(1 + i % 3);
        ASSERT_EQ(set.Add(masks[i], cells), plain.count(masks[i]) == 0) << masks[i];
        plain[masks[i]] += cells;
    }
    expectSame(set, plain, "added one at a time");
    std::vector<size_t> places;
    set.AddEach(masks.size(), [&](size_t i, auto place) {
        places.push_back(place);
        return masks[i];
    });
    for (const uint32_t mask : masks) ++plain[mask];
    expectSame(set, plain, "then as a batch");
    ASSERT_EQ(places.size(), masks.size());
    // Places go round, starting again after a mask of the hash set (one
    // beyond kTableMasks, or one below it that the table did not grow to).
    EXPECT_EQ(places[0], 0u);
    size_t inTurn = 0;
    for (size_t i = 1; i < places.size(); ++i) {
        const size_t next = (places[i - 1] + 1) % 4;
        if (masks[i - 1] >= UniqueMaskSet::kTableMasks) {
            ASSERT_EQ(places[i], 0u) << i;
        }
        ASSERT_TRUE(places[i] == next || places[i] == 0) << i;
        inTurn += places[i] == next ? 1 : 0;
    }
    EXPECT_GT(inTurn, places.size() / 4);

    // Half of them taken out, from the table and from the hash set.
    for (const uint32_t mask : masks) {
        if (mask % 2 == 0 && plain.count(mask) != 0) {
            ASSERT_EQ(set.Remove(mask), plain[mask]) << mask;
            plain.erase(mask);
        }
    }
    EXPECT_EQ(set.Remove(2), 0u);
    expectSame(set, plain, "half taken out");

    // Emptied, then a batch alone, on a set with room from before: nothing
    // of before is counted again.
    set.Clear();
    expectSame(set, {}, "cleared");
    plain.clear();
    set.AddEach(3, [](size_t i, auto) { return std::array<uint32_t, 3>{7, 7, 1u << 30}[i]; });
    plain = {{7, 2}, {1u << 30, 1}};
    expectSame(set, plain, "a batch after clearing");
}

// The table grows only while it stays dense: sparse masks below 2^18 wait in
// the hash set, and move into the table when it grows to cover them.
TEST(UniqueMaskSet, MovesMasksIntoTheTableAsItGrows) {
    UniqueMaskSet set;
    std::unordered_map<uint32_t, uint64_t> plain;
    const auto add = [&](uint32_t mask, uint32_t cells) {
        ASSERT_EQ(set.Add(mask, cells), plain.count(mask) == 0) << mask;
        plain[mask] += cells;
    };
    // A few masks far apart, then low numbers rising until the table covers
    // them all, then the far ones again.
    for (uint32_t i = 1; i <= 40; ++i) add(i * 6007, i);
    for (uint32_t i = 0; i < 20000; ++i) add(i, 1 + i % 3);
    for (uint32_t i = 1; i <= 40; ++i) add(i * 6007, 2);
    ASSERT_EQ(set.Count(), plain.size());
    EXPECT_EQ(set.HashedCount(), 0u);
    std::array<uint64_t, 32> bits{};
    for (const auto& [mask, cells] : plain) {
        ASSERT_EQ(set.CellsOf(mask), cells) << mask;
        for (size_t bit = 0; bit < 32; ++bit) bits[bit] += (mask >> bit & 1) * cells;
    }
    EXPECT_EQ(set.CellsOfEachBit(), bits);
    // Emptied, the set keeps its table; a few sparse masks then count alone.
    set.Clear();
    EXPECT_TRUE(set.Add(250000, 3));
    EXPECT_TRUE(set.Add(7, 1));
    EXPECT_EQ(set.Count(), 2u);
    EXPECT_EQ(set.CellsOf(250000), 3u);
    EXPECT_EQ(set.CellsOf(6007), 0u);
    const std::array<uint64_t, 32> two = set.CellsOfEachBit();
    EXPECT_EQ(two[0], 1u + ((250000u & 1) != 0 ? 3u : 0u));
}

TEST(UniqueMaskSet, CountsTheBitsOfMasksWithMoreCellsThan32BitsHold) {
    UniqueMaskSet set;
    const uint32_t most = std::numeric_limits<uint32_t>::max();
    set.Add(3, most);
    set.Add(1, most);
    set.Add(0x30001, most);
    set.Add(0x80000001, most);
    const std::array<uint64_t, 32> bits = set.CellsOfEachBit();
    EXPECT_EQ(bits[0], 4 * uint64_t{most});
    EXPECT_EQ(bits[1], uint64_t{most});
    EXPECT_EQ(bits[16], uint64_t{most});
    EXPECT_EQ(bits[17], uint64_t{most});
    EXPECT_EQ(bits[31], uint64_t{most});
    EXPECT_EQ(bits[2], 0u);
}

// Every figure, compared bit for bit.
void ExpectSameFigures(const PegAnalysis& a, const PegAnalysis& b, const std::string& what) {
    EXPECT_EQ(a.waterCells, b.waterCells) << what;
    EXPECT_EQ(std::bit_cast<uint32_t>(a.averageDepth), std::bit_cast<uint32_t>(b.averageDepth))
        << what;
    EXPECT_EQ(std::bit_cast<uint32_t>(a.shallowest), std::bit_cast<uint32_t>(b.shallowest)) << what;
    EXPECT_EQ(std::bit_cast<uint32_t>(a.deepest), std::bit_cast<uint32_t>(b.deepest)) << what;
    EXPECT_EQ(a.depthCounts, b.depthCounts) << what;
    EXPECT_EQ(a.objectCounts, b.objectCounts) << what;
    EXPECT_EQ(a.usedObjects, b.usedObjects) << what;
    EXPECT_EQ(a.bareCells, b.bareCells) << what;
    EXPECT_EQ(a.uniqueMasks.Count(), b.uniqueMasks.Count()) << what;
}

// Runs of masks and depths, dry and bare patches, over several pieces of a
// file read.
std::vector<gamegen::PegCell> PatchyCells(size_t count) {
    std::vector<gamegen::PegCell> cells;
    for (size_t i = 0; i < count; ++i) {
        const auto depth = static_cast<uint8_t>((i / 53) % 300 < 40 ? 0 : 1 + (i / 53) % 250);
        const uint32_t mask =
            (i / 37) % 11 == 0 ? 0u : static_cast<uint32_t>(1u << ((i / 37) % 32) | (i / 400));
        cells.push_back({mask, depth});
    }
    return cells;
}

TEST(AnalysePegDataFile, GivesWhatReadingTheWholeFileGives) {
    struct Case {
        std::string name;
        std::string bytes;
        float ratio;
    };
    const std::string worked = Column({{0, 0}, {0, 5}, {3, 5}, {3, 10}});
    std::vector<gamegen::PegCell> distinct;
    for (uint32_t i = 1; i <= 40000; ++i)
        distinct.push_back({i * 2654435761u, static_cast<uint8_t>(i)});
    const std::string patchy = MakePegDataOfCells(20, 4, 1, PatchyCells(480 * 100));
    std::vector<Case> cases = {
        {"worked example", worked, 2.0f},
        {"part row", MakePegDataOfCells(7, 4, 7, PatchyCells(68 * 3 + 5)), 1.0f},
        {"pieces of runs", patchy, 0.75f},
        {"a mask of its own in every cell", Column(distinct, 32), 1.25f},
        {"ratio 0", patchy, 0.0f},
        {"negative ratio", patchy, -2.5f},
        {"subnormal ratio", patchy, 1e-40f},
        {"ratio beyond float", patchy, 3e38f},
        {"ratio not a number", patchy, std::numeric_limits<float>::quiet_NaN()},
        {"empty", "", 1.0f},
        {"415 bytes", worked.substr(0, 415), 1.0f},
        {"423 bytes", worked.substr(0, 423), 1.0f},
        {"cell width 0", MakePegDataOfCells(5, 4, 0, {}) + std::string(70, '\1'), 1.0f},
    };
    for (size_t cut = 1; cut <= 5; ++cut) {
        cases.push_back(
            {"cut by " + std::to_string(cut), patchy.substr(0, patchy.size() - cut), 1.5f});
    }

    test::TempFolder game;
    const GameFolder folder(game.Path());
    // One analysis for every case, as a check run keeps it.
    PegAnalysis analysis;
    for (const Case& c : cases) {
        game.Write("peg.dat", c.bytes);
        const PegData whole = ReadPegData(c.bytes);
        PegAnalysis expected;
        if (whole.grid) AnalysePegData(*whole.grid, PegWithRatio(c.ratio), expected);

        analysis.Clear();
        const PegDataOutline outline =
            AnalysePegDataFile(folder, "PEG.DAT", PegWithRatio(c.ratio), analysis);
        EXPECT_EQ(outline.objectTableRead, whole.objectTableRead) << c.name;
        EXPECT_EQ(outline.addedObjects, whole.addedObjects) << c.name;
        ASSERT_EQ(outline.analysed, whole.grid.has_value()) << c.name;
        if (!whole.grid) continue;
        EXPECT_EQ(outline.cellsPerRow, whole.grid->CellsPerRow()) << c.name;
        EXPECT_EQ(outline.rows, whole.grid->Rows()) << c.name;
        ExpectSameFigures(analysis, expected, c.name);
    }

    PegAnalysis none;
    for (const char* path : {"missing.dat", "", ":peg.dat", ":peg.zip/peg.dat"}) {
        const PegDataOutline outline = AnalysePegDataFile(folder, path, PegWithRatio(1.0f), none);
        EXPECT_FALSE(outline.objectTableRead || outline.analysed) << path;
    }
}

TEST(AnalysePegData, AddsTheDepthsOfAHugeGridInFileOrder) {
    // Beyond 2^21 cells the depth sum can round, so it follows the cells.
    gamegen::PegDataSpec spec;
    spec.cellWidth = 1;
    spec.rows = 4400;
    spec.depths = gamegen::DepthPattern::kEveryValue;
    spec.masks = gamegen::MaskPattern::kDistinct;
    spec.distinctMasks = 3000;
    spec.barePercent = 7;
    const std::string bytes = gamegen::MakePegData(spec);
    const float ratio = 1.9999999f;

    PlainFigures plain;
    for (size_t at = kPegDataHeaderSize; at + kPegCellSize <= bytes.size(); at += kPegCellSize) {
        uint32_t mask = 0;
        std::memcpy(&mask, bytes.data() + at, sizeof mask);
        plain.Add(mask, static_cast<uint8_t>(bytes[at + 4]), ratio);
    }
    ASSERT_GT(plain.waterCells, 1 << 21);

    const PegAnalysis a = Analyse(bytes, ratio);
    test::TempFolder game;
    game.Write("huge.dat", bytes);
    PegAnalysis streamed;
    AnalysePegDataFile(GameFolder(game.Path()), "huge.dat", PegWithRatio(ratio), streamed);
    for (const PegAnalysis* analysis : {&a, static_cast<const PegAnalysis*>(&streamed)}) {
        EXPECT_EQ(analysis->waterCells, plain.waterCells);
        EXPECT_EQ(analysis->bareCells, plain.bareCells);
        EXPECT_EQ(analysis->averageDepth, static_cast<float>(plain.depthSum / plain.waterCells));
        EXPECT_EQ(analysis->uniqueMasks.Count(), plain.maskCells.size());
        for (size_t bit = 0; bit < 32; ++bit) {
            EXPECT_EQ(analysis->objectCounts[bit], plain.objectCounts[bit]) << bit;
        }
    }
}

}  // namespace
}  // namespace venuecheck
