#include "gamegen/peg_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace venuecheck::gamegen {
namespace {

uint32_t U32At(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

int16_t I16At(const std::string& bytes, size_t at) {
    return static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) |
                                (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

// The figures a peg data file is judged by, counted from its bytes.
struct GridFigures {
    int objects = 0;
    size_t water = 0;
    size_t bare = 0;
    std::set<uint8_t> depths;
    std::set<uint32_t> masks;  // non-zero masks of water cells
};

GridFigures Count(const std::string& bytes) {
    GridFigures figures;
    for (int slot = 0; slot < kObjectSlots; ++slot) {
        if (bytes[static_cast<size_t>(slot) * kObjectSlotSize] != 0) ++figures.objects;
    }
    for (size_t at = kPegDataHeaderSize; at + kPegCellSize <= bytes.size(); at += kPegCellSize) {
        const auto depth = static_cast<uint8_t>(bytes[at + 4]);
        if (depth == 0) continue;
        ++figures.water;
        figures.depths.insert(depth);
        const uint32_t mask = U32At(bytes, at);
        if (mask == 0) {
            ++figures.bare;
        } else {
            figures.masks.insert(mask);
        }
    }
    return figures;
}

struct FiguresCase {
    const char* name;
    PegDataSpec spec;
    size_t length;
    int objects;
    size_t water;
    size_t depths;
    size_t masks;
    size_t bare;
};

PegDataSpec Spec(int objects, int16_t width, int rows) {
    PegDataSpec spec;
    spec.objects = objects;
    spec.cellWidth = width;
    spec.rows = rows;
    return spec;
}

std::vector<FiguresCase> FiguresCases() {
    std::vector<FiguresCase> cases;
    {
        // The band edges of the peg report: 26 depths, 16 objects, 50 % bare,
        // 10 unique object areas.
        PegDataSpec spec = Spec(16, 4, 90);
        spec.distinctDepths = 26;
        spec.distinctMasks = 10;
        spec.barePercent = 50;
        cases.push_back({"band_edges", spec, 424 + 7 * 120 * 90, 16, 10800, 26, 10, 5400});
    }
    {
        PegDataSpec spec = Spec(32, 1, 30);
        spec.depths = DepthPattern::kEveryValue;
        spec.masks = MaskPattern::kAllDistinct;
        spec.barePercent = 10;
        cases.push_back({"every_depth_all_masks", spec, 424 + 7 * 480 * 30, 32, 14400, 255,
                         14400 - 1440, 1440});
    }
    {
        // 33 % of 10800 is 3564 exactly once rounded down.
        PegDataSpec spec = Spec(5, 4, 90);
        spec.distinctDepths = 39;
        spec.distinctMasks = 60;
        spec.barePercent = 33;
        cases.push_back({"uneven_bare_share", spec, 424 + 7 * 10800, 5, 10800, 39, 60, 3564});
    }
    {
        PegDataSpec spec = Spec(0, 8, 10);
        spec.depths = DepthPattern::kZero;
        spec.barePercent = 50;
        cases.push_back({"no_water", spec, 424 + 7 * 60 * 10, 0, 0, 0, 0, 0});
    }
    {
        PegDataSpec spec = Spec(7, 480, 4);
        spec.depths = DepthPattern::kConstant;
        spec.depth = 255;
        spec.masks = MaskPattern::kConstant;
        spec.mask = 0x80000000u;
        cases.push_back({"one_cell_per_row", spec, 424 + 7 * 4, 7, 4, 1, 1, 0});
    }
    {
        // A 0 in the depth cycle makes dry cells, which are never bare.
        PegDataSpec spec = Spec(3, 16, 10);
        spec.depths = DepthPattern::kCycle;
        spec.depthCycle = {0, 5, 10};
        spec.masks = MaskPattern::kZero;
        cases.push_back({"dry_cells_in_cycle", spec, 424 + 7 * 300, 3, 200, 2, 0, 200});
    }
    {
        PegDataSpec spec = Spec(33, 4, 0);
        cases.push_back({"objects_capped_no_rows", spec, 424, 32, 0, 0, 0, 0});
    }
    return cases;
}

TEST(MakePegData, GivesTheFiguresItWasAskedFor) {
    for (const FiguresCase& c : FiguresCases()) {
        SCOPED_TRACE(c.name);
        const std::string bytes = MakePegData(c.spec);
        ASSERT_EQ(bytes.size(), c.length);
        EXPECT_EQ(PegDataLength(c.spec), c.length);
        const GridFigures figures = Count(bytes);
        EXPECT_EQ(figures.objects, c.objects);
        EXPECT_EQ(figures.water, c.water);
        EXPECT_EQ(figures.depths.size(), c.depths);
        EXPECT_EQ(figures.masks.size(), c.masks);
        EXPECT_EQ(figures.bare, c.bare);
    }
}

TEST(MakePegData, WritesAnyCellSizeAndGivesNoGridForWidthsWithoutAWholeCell) {
    struct Case {
        int16_t width;
        size_t length;
    };
    for (const Case c : {Case{4, 424 + 7 * 120 * 2}, Case{0, 424}, Case{-4, 424}, Case{481, 424},
                         Case{-32768, 424}, Case{480, 424 + 7 * 2}}) {
        SCOPED_TRACE(c.width);
        PegDataSpec spec = Spec(16, c.width, 2);
        spec.cellHeight = -7;
        const std::string bytes = MakePegData(spec);
        EXPECT_EQ(bytes.size(), c.length);
        EXPECT_EQ(I16At(bytes, 416), -7);
        EXPECT_EQ(I16At(bytes, 418), c.width);
        EXPECT_EQ(I16At(bytes, 420), 0);
        EXPECT_EQ(I16At(bytes, 422), 0);
    }
}

TEST(MakePegData, ExplicitLengthCutsOrPadsWithZeroBytes) {
    PegDataSpec spec = Spec(16, 4, 90);
    const std::string full = MakePegData(spec);

    spec.length = 500;
    const std::string cut = MakePegData(spec);
    EXPECT_EQ(cut, full.substr(0, 500));

    spec.length = 10;
    EXPECT_EQ(MakePegData(spec), full.substr(0, 10));

    spec.length = full.size() + 3;
    const std::string padded = MakePegData(spec);
    EXPECT_EQ(PegDataLength(spec), padded.size());
    EXPECT_EQ(padded.substr(0, full.size()), full);
    EXPECT_EQ(padded.substr(full.size()), std::string(3, '\0'));
}

TEST(MakePegData, ExplicitCellsAndObjectTableAreWrittenAsGiven) {
    PegDataSpec spec;
    spec.cellWidth = 480;
    spec.rows = 90;  // ignored: the explicit cells make the grid
    spec.cells = {{0, 0}, {0, 5}, {3, 5}, {0x80000001u, 10}};
    spec.objectTable = ObjectTableWithSlots({5, 31, 40, -1});
    const std::string bytes = MakePegData(spec);
    ASSERT_EQ(bytes.size(), 424u + 4 * 7);

    for (int slot = 0; slot < kObjectSlots; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(bytes[static_cast<size_t>(slot) * kObjectSlotSize] != 0, slot == 5 || slot == 31);
    }
    for (size_t i = 0; i < spec.cells.size(); ++i) {
        SCOPED_TRACE(i);
        const size_t at = 424 + 7 * i;
        EXPECT_EQ(U32At(bytes, at), spec.cells[i].mask);
        EXPECT_EQ(static_cast<uint8_t>(bytes[at + 4]), spec.cells[i].depth);
        EXPECT_EQ(bytes.substr(at + 5, 2), std::string(2, '\0'));
    }

    // A short explicit table is padded to 416 bytes.
    spec.objectTable = std::string("\x01\x02", 2);
    spec.cells.clear();
    spec.rows = 0;
    const std::string shortTable = MakePegData(spec);
    EXPECT_EQ(Count(shortTable).objects, 1);
    EXPECT_EQ(I16At(shortTable, 418), 480);
}

TEST(MakePegData, SameSpecGivesSameBytes) {
    PegDataSpec spec = Spec(12, 2, 50);
    spec.masks = MaskPattern::kCycle;
    spec.maskCycle = {1, 2, 4, 0x10000};
    spec.barePercent = 7;
    EXPECT_EQ(MakePegData(spec), MakePegData(spec));
    EXPECT_EQ(Count(MakePegData(spec)).masks, (std::set<uint32_t>{1, 2, 4, 0x10000}));
}

}  // namespace
}  // namespace venuecheck::gamegen
