#include "common/ini_file.h"

#include <gtest/gtest.h>

namespace venuecheck {
namespace {

TEST(IniFile, ReadsAsTheWindowsProfileReaderDoes) {
    const IniFile ini = IniFile::Parse(
        "; leading comment\r\n"
        "Orphan=before any section\r\n"
        "  [ Details ]  trailing text\r\n"
        "Name =  Lake View  \r\n"
        "name=second line of the same key\r\n"
        "Quoted=\"in quotes\"\r\n"
        "Single='single'\r\n"
        "Mixed=\"not closed'\r\n"
        "OneQuote=\"\r\n"
        "Empty=\r\n"
        "Semi=a;b\r\n"
        "#Hash=not a comment\r\n"
        "; Commented=no\r\n"
        "NoEquals\r\n"
        "Inner = a = b\r\n"
        "\t Tabbed\t=\tvalue\t\r\n"
        "[details]\r\n"
        "Late=in the second section of that name\r\n"
        "[Weather]\n"
        "Lookup=look.txt");
    EXPECT_EQ(ini.GetString("Details", "Name", "d"), "Lake View");
    EXPECT_EQ(ini.GetString("DETAILS", "NAME", "d"), "Lake View");
    EXPECT_EQ(ini.GetString("Details", "Quoted", "d"), "in quotes");
    EXPECT_EQ(ini.GetString("Details", "Single", "d"), "single");
    EXPECT_EQ(ini.GetString("Details", "Mixed", "d"), "\"not closed'");
    EXPECT_EQ(ini.GetString("Details", "OneQuote", "d"), "\"");
    EXPECT_EQ(ini.GetString("Details", "Empty", "d"), "");
    EXPECT_EQ(ini.GetString("Details", "Semi", "d"), "a;b");
    EXPECT_EQ(ini.GetString("Details", "#Hash", "d"), "not a comment");
    EXPECT_EQ(ini.GetString("Details", "Commented", "d"), "d");
    EXPECT_EQ(ini.GetString("Details", "NoEquals", "d"), "d");
    EXPECT_EQ(ini.GetString("Details", "Inner", "d"), "a = b");
    EXPECT_EQ(ini.GetString("Details", "Tabbed", "d"), "value");
    EXPECT_EQ(ini.GetString("Details", "Late", "d"), "d");
    EXPECT_EQ(ini.GetString("Details", "Orphan", "d"), "d");
    EXPECT_EQ(ini.GetString("Weather", "Lookup", "d"), "look.txt");
    EXPECT_EQ(ini.GetString("Missing", "Lookup", "d"), "d");
}

TEST(IniFile, CutsValuesTo255Characters) {
    const std::string longValue(10000, 'v');
    const IniFile ini = IniFile::Parse("[S]\nKey=" + longValue + "\n");
    EXPECT_EQ(ini.GetString("S", "Key", ""), std::string(255, 'v'));
    const IniFile exact = IniFile::Parse("[S]\nKey=" + std::string(255, 'w') + "\n");
    EXPECT_EQ(exact.GetString("S", "Key", "").size(), 255u);
}

TEST(IniFile, ConvertsUnicodeFilesToEightBits) {
    const IniFile utf8 = IniFile::Parse("\xEF\xBB\xBF[S]\nName=Ch\xC3\xA2teau \xE2\x82\xAC\n");
    EXPECT_EQ(utf8.GetString("S", "Name", ""), "Ch\xE2teau ?");
    const std::string utf16("\xFF\xFE[\0S\0]\0\n\0K\0=\0\xE2\0\xAC\x20\n\0", 20);
    const IniFile wide = IniFile::Parse(utf16);
    EXPECT_EQ(wide.GetString("S", "K", ""), "\xE2?");
    // Without a mark the bytes stay as they are.
    const IniFile plain = IniFile::Parse("[S]\nName=Ch\xE2teau\n");
    EXPECT_EQ(plain.GetString("S", "Name", ""), "Ch\xE2teau");
}

TEST(IniFile, SurvivesJunk) {
    std::string junk;
    for (int i = 0; i < 100000; ++i) junk.push_back(static_cast<char>((i * 7919) % 256));
    const IniFile ini = IniFile::Parse(junk);
    EXPECT_EQ(ini.GetString("Details", "Name", "[Unknown]"), "[Unknown]");
    // A NUL byte ends a value, as the game's C strings end there.
    const IniFile nul = IniFile::Parse(std::string("[S]\nK=ab\0cd\n", 12));
    EXPECT_EQ(nul.GetString("S", "K", ""), "ab");
    // Many keys and sections stay fast.
    std::string many = "[S]\n";
    for (int i = 0; i < 200000; ++i)
        many += "K" + std::to_string(i) + "=v\n[T" + std::to_string(i) + "]\n";
    const IniFile big = IniFile::Parse(many);
    EXPECT_EQ(big.GetString("S", "K0", ""), "v");
    EXPECT_EQ(big.GetString("T5", "K6", "d"), "v");
}

}  // namespace
}  // namespace venuecheck

namespace venuecheck {
namespace {

TEST(IniFile, TellsTheLineOfTheKeyItAnswersWith) {
    const IniFile ini = IniFile::Parse(
        "\xEF\xBB\xBF; a comment\r\n"  // 1
        "[Details]\r\n"                // 2
        "Name=First\r\n"               // 3
        "name=Second\r\n"              // 4: the first line of a key wins
        "\r\n"                         // 5
        "  Ref = L1\r\n"               // 6
        "[Weather]\n"                  // 7
        "[details]\n"                  // 8: a later section of a name is not searched
        "Dir=pegs\\*.peg\n");          // 9
    const struct {
        const char* section;
        const char* key;
        int line;
    } cases[] = {
        {"Details", "Name", 3},   {"DETAILS", "ref", 6},
        {"Details", "Dir", 2},                            // missing: the line of its section
        {"Weather", "Lookup", 7}, {"Files", "Image", 0},  // neither key nor section
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.LineOf(c.section, c.key), c.line) << c.section << " " << c.key;
    }

    // UTF-16 text keeps its lines.
    const std::string utf16("\xFF\xFE[\0D\0]\0\n\0k\0=\0v\0", 16);
    EXPECT_EQ(IniFile::Parse(utf16).LineOf("D", "k"), 2);
}

TEST(KeyLines, RemembersTheLineOfEachKeyRead) {
    const IniFile ini = IniFile::Parse("[Files]\nData=a.dat\n\nFish=a.fsh\n");
    KeyLines lines;
    EXPECT_EQ(ReadKey(ini, lines, "Files", "Fish", "[Unknown]"), "a.fsh");
    EXPECT_EQ(ReadKey(ini, lines, "Files", "Sounds", "[Unknown]"), "[Unknown]");
    EXPECT_EQ(lines.Line("files", "FISH"), 4);
    EXPECT_EQ(lines.Line("Files", "Sounds"), 1);
    EXPECT_EQ(lines.Line("Files", "Data"), 0);  // never read
}

}  // namespace
}  // namespace venuecheck
