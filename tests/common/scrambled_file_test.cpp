#include "common/scrambled_file.h"

#include <gtest/gtest.h>

#include "common/game_folder.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

const std::string kMagic = "\xF0\xD0\xE0\x90\x96";

TEST(ScrambleByte, PermutesBitsAndDescrambleUndoesIt) {
    EXPECT_EQ(ScrambleByte('a'), 0x98);
    EXPECT_EQ(ScrambleByte('b'), 0xC8);
    EXPECT_EQ(ScrambleByte('c'), 0xD8);
    EXPECT_EQ(ScrambleByte(0x00), 0x00);
    EXPECT_EQ(ScrambleByte(0xFF), 0xFF);
    EXPECT_EQ(ScrambleByte(0x04), 0x04);  // bit 2 stays
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(DescrambleByte(ScrambleByte(static_cast<uint8_t>(v))), v);
    }
    std::string magic;
    for (char c : std::string("SCRAM"))
        magic.push_back(static_cast<char>(ScrambleByte(static_cast<uint8_t>(c))));
    EXPECT_EQ(magic, kMagic);
}

TEST(Descramble, ReadsThePayloadAfterTheHeader) {
    struct Case {
        std::string file;
        bool scrambled;
        std::string plain;
    };
    const Case cases[] = {
        {kMagic + std::string(46, 'h') + "\x98\xC8\xD8", true, "abc"},
        {kMagic + std::string(46, 'h'), true, ""},            // exactly 51 bytes
        {kMagic, true, ""},                                   // magic only, shorter than the header
        {"SCRAM" + std::string(46, 'h') + "abc", false, ""},  // the plain letters are no magic
        {"\xF0\xD0\xE0\x90", false, ""},                      // 4 bytes
        {"", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsScrambled(c.file), c.scrambled);
        if (c.scrambled) {
            EXPECT_EQ(Descramble(c.file), c.plain);
        }
    }
    EXPECT_EQ(Descramble(Scramble("[Details]\nName=x\n")), "[Details]\nName=x\n");
}

TEST(ReadDataFile, ReadsScrambledFilesThroughTheTemporaryCopyAndRemovesIt) {
    TempFolder game;
    game.Write("data/_temp.dat", "left by the game");
    game.Write("venues/a.ven", Scramble("[Details]\nName=A\n"));
    game.Write("venues/b.ven", "[Details]\nName=B\n");
    const GameFolder folder(game.Path());

    const PlainText a = ReadDataFile(folder, "venues/a.ven");
    EXPECT_TRUE(a.opened);
    EXPECT_TRUE(a.scrambled);
    EXPECT_EQ(a.bytes, "[Details]\nName=A\n");
    // An existing copy is overwritten and then deleted, as the game does.
    EXPECT_FALSE(game.Exists("data/_temp.dat"));

    game.Write("data/_temp.dat", "left by the game");
    const PlainText b = ReadDataFile(folder, "venues/b.ven");
    EXPECT_FALSE(b.scrambled);
    EXPECT_EQ(b.bytes, "[Details]\nName=B\n");
    EXPECT_EQ(game.Read("data/_temp.dat"), "left by the game");  // untouched by a plain file

    const PlainText missing = ReadDataFile(folder, "venues/none.ven");
    EXPECT_FALSE(missing.opened);
}

TEST(ReadDataFile, DescramblesInMemoryWhenNoCopyCanBeWritten) {
    TempFolder game;  // no data folder
    game.Write("species/x.sp", Scramble("REF X\nEND\n"));
    const PlainText text = ReadDataFile(GameFolder(game.Path()), "species/x.sp");
    EXPECT_TRUE(text.scrambled);
    EXPECT_EQ(text.bytes, "REF X\nEND\n");
    EXPECT_FALSE(game.Exists("data"));
}

}  // namespace
}  // namespace venuecheck
