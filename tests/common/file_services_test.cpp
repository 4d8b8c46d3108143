#include "common/file_services.h"

#include <gtest/gtest.h>
#include <zip.h>

#include "common/game_folder.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

void WriteZip(const std::filesystem::path& path, const std::vector<std::string>& entries) {
    zipFile zip = zipOpen(path.string().c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto& entry : entries) {
        ASSERT_EQ(zipOpenNewFileInZip(zip, entry.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        const std::string data = "grid of " + entry;
        zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

TEST(BaseName, SplitsAtBackslashSlashAndColon) {
    EXPECT_EQ(BaseName("dir\\sub\\name.ext"), "name.ext");
    EXPECT_EQ(BaseName("c:name.ext"), "name.ext");
    EXPECT_EQ(BaseName("name.ext"), "name.ext");
    EXPECT_EQ(BaseName("a/b/"), "");
    EXPECT_EQ(BaseNameIndex("abc"), 0u);
    EXPECT_EQ(BaseNameIndex("a/b"), 2u);
    EXPECT_EQ(BaseNameIndex(":x"), 1u);
}

TEST(SplitArchivePath, FindsTheArchiveAndTheEntry) {
    EXPECT_FALSE(SplitArchivePath("pegs/lake.zip/peg1.dat"));
    const auto a = SplitArchivePath(":pegs/lake.zip/peg1.dat");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->archive, "pegs/lake.zip");
    EXPECT_EQ(a->entry, "peg1.dat");
    const auto b = SplitArchivePath(":lake.zip:peg1.dat");
    EXPECT_EQ(b->archive, "lake.zip");
    EXPECT_EQ(b->entry, "peg1.dat");
    const auto c = SplitArchivePath(":peg1.dat");
    EXPECT_EQ(c->archive, "peg1.dat");
    EXPECT_EQ(c->entry, "peg1.dat");
    const auto d = SplitArchivePath("::x");
    EXPECT_EQ(d->archive, "");
    EXPECT_EQ(d->entry, "x");
}

TEST(FileExists, TestsPlainFilesAndZipEntries) {
    TempFolder game;
    game.Write("pegs/Lake/peg1.dat", "grid");
    game.Write("notazip.zip", "PK but not really a zip archive");
    std::filesystem::create_directories(game.Path() / "pegs" / "folder.dat");
    WriteZip(game.Path() / "a.zip", {"X.DAT", "sub/y.dat"});
    WriteZip(game.Path() / "pegs" / "Lake" / "lake.zip", {"peg2.dat"});
    const GameFolder folder(game.Path());

    struct Case {
        const char* path;
        bool exists;
    };
    const Case cases[] = {
        {"pegs/Lake/peg1.dat", true},
        {"PEGS\\lake\\PEG1.DAT", true},  // Windows paths: backslashes, any letter case
        {"pegs/Lake/missing.dat", false},
        {"pegs/folder.dat", false},  // a folder is no file
        {"", false},
        {":a.zip/x.dat", true},  // top-level entry in any letter case
        {":A.ZIP/X.dat", true},
        {":a.zip:x.dat", true},
        {":a.zip/y.dat", false},      // only stored in a sub-folder
        {":a.zip/sub/y.dat", false},  // the archive would be "a.zip/sub"
        {":a.zip/", false},           // no entry name
        {"::x", false},               // no archive name
        {":missing.zip/x.dat", false},
        {":notazip.zip/x.dat", false},
        {":pegs\\lake\\lake.zip\\PEG2.dat", true},
        {":pegs/folder.dat/x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(FileExists(folder, c.path), c.exists) << c.path;
    // Paths of any length are handled.
    EXPECT_FALSE(FileExists(folder, ":" + std::string(2000, 'z') + "/x.dat"));
    EXPECT_FALSE(FileExists(folder, std::string(2000, 'z')));
}

TEST(AppendToFile, CreatesAndAppendsButNeverCreatesFolders) {
    TempFolder game;
    const GameFolder folder(game.Path());
    EXPECT_TRUE(AppendToFile(folder, "probe.tmp", "Test", true));
    EXPECT_TRUE(AppendToFile(folder, "PROBE.TMP", "more", false));  // the same file
    EXPECT_EQ(game.Read("probe.tmp"), "Test\nmore");
    EXPECT_FALSE(AppendToFile(folder, "nofolder/probe.tmp", "Test", true));
    EXPECT_FALSE(game.Exists("nofolder"));
    DeleteGameFile(folder, "Probe.tmp");
    EXPECT_FALSE(game.Exists("probe.tmp"));
    DeleteGameFile(folder, "probe.tmp");  // a missing file is ignored
}

}  // namespace
}  // namespace venuecheck
