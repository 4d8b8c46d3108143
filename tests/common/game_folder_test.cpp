#include "common/game_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/host_file.h"
#include "common/read_ahead.h"
#include "common/text.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

TEST(GameFolder, ResolvesWindowsPathsWithoutRegardToCase) {
    TempFolder game;
    game.Write("Venues/Lake/Pegs.txt", "x");
    const GameFolder folder(game.Path());
    EXPECT_EQ(folder.Resolve("venues\\LAKE\\pegs.TXT"),
              game.Path() / "Venues" / "Lake" / "Pegs.txt");
    EXPECT_EQ(folder.Resolve("Venues/Lake/Pegs.txt"), game.Path() / "Venues" / "Lake" / "Pegs.txt");
    // What does not exist keeps its letter case, inside the folder found.
    EXPECT_EQ(folder.Resolve("VENUES/lake/New.tmp"), game.Path() / "Venues" / "Lake" / "New.tmp");
    EXPECT_EQ(folder.Resolve("none/Deeper/x"), game.Path() / "none" / "Deeper" / "x");
    EXPECT_EQ(folder.Resolve("./venues//lake/"), game.Path() / "Venues" / "Lake");
    ASSERT_TRUE(folder.ReadFile("VENUES\\LAKE\\PEGS.TXT"));
    EXPECT_EQ(*folder.ReadFile("VENUES\\LAKE\\PEGS.TXT"), "x");
}

TEST(GameFolder, FindsFilesInTheOrderOfTheWindowsFileSystem) {
    TempFolder game;
    for (const char* name : {"b.ven", "A.ven", "_c.VEN", "a2.ven", "Z.ven", "x.txt", "noext"}) {
        game.Write(std::string("venues/") + name, "");
    }
    std::filesystem::create_directories(game.Path() / "venues" / "dir.ven");
    const GameFolder folder(game.Path());
    // Upper-cased, '_' (0x5F) comes after the letters.
    const std::vector<std::string> expected = {"A.ven",   "a2.ven", "b.ven",
                                               "dir.ven", "Z.ven",  "_c.VEN"};
    EXPECT_EQ(folder.FindFiles("VENUES/*.ven"), expected);
    EXPECT_EQ(folder.FindFiles("venues\\?.VEN"),
              (std::vector<std::string>{"A.ven", "b.ven", "Z.ven"}));
    EXPECT_TRUE(folder.FindFiles("missing/*.ven").empty());
    EXPECT_EQ(folder.FindFiles("venues/*.*").size(), 8u);  // also the name without extension
}

TEST(WildcardMatch, FollowsTheWindowsSearch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.peg", "peg1.peg", true},
        {"*.peg", "PEG1.PEG", true},
        {"*.peg", "peg1.pegs", false},
        {"*.peg", ".peg", true},
        {"p?g.*", "peg.x", true},
        {"p?g.*", "pg.x", false},
        {"*", "", true},
        {"*.*", "noext", true},
        {"*a*b*", "xxaxxbxx", true},
        {"[Unknown]", "[unknown]", true},
        {"*.peg", "peg", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(GameFolder, NeverReadsOrWritesAnythingButRegularFiles) {
    TempFolder game;
    std::filesystem::create_directories(game.Path() / "adir");
    const GameFolder folder(game.Path());
    EXPECT_FALSE(folder.ReadFile("adir"));
    EXPECT_FALSE(folder.CanOpen("adir"));
    EXPECT_FALSE(folder.AppendFile("adir", "x"));
    EXPECT_FALSE(folder.WriteFile("adir", "x"));
    folder.RemoveFile("adir");
    EXPECT_TRUE(game.Exists("adir"));
}

// A folder with names in several letter cases, files and folders alike;
// "VENUES" finds "Venues" (the smaller of "Venues" and "venues").
void WriteMixedCaseGame(const TempFolder& game) {
    for (const char* file : {"Venues/Lake/Pegs.txt", "Venues/Lake/PEG1.dat", "Venues/Lake/peg1.DAT",
                             "Venues/Lake/sub/Deep.txt", "venues/other.txt", "maxsize.txt"}) {
        game.Write(file, file);
    }
    std::filesystem::create_directories(game.Path() / "Venues" / "Lake" / "Empty");
}

TEST(GameFolder, KeptListingsResolveAsTheDiskDoes) {
    TempFolder game;
    WriteMixedCaseGame(game);
    const GameFolder plain(game.Path());
    GameFolder kept(game.Path());
    const KeptListings keep(kept);
    const std::vector<std::string> paths = {
        "Venues/Lake/Pegs.txt",
        "venues\\LAKE\\pegs.TXT",
        "VENUES/lake/peg1.dat",
        "Venues/Lake/PEG1.dat",
        "venues/lake/SUB/deep.txt",
        "venues/OTHER.TXT",
        "venues/lake/missing.txt",
        "none/Deeper/x",
        "./venues//lake/",
        "venues/lake/empty",
        "venues/lake/../../MAXSIZE.TXT",
        "venues/lake/pegs.txt/inside",
        "",
        "MaxSize.Txt",
    };
    for (const std::string& path : paths) {
        EXPECT_EQ(kept.Resolve(path), plain.Resolve(path)) << path;
        EXPECT_EQ(kept.CanOpen(path), plain.CanOpen(path)) << path;
        EXPECT_EQ(kept.ReadFile(path), plain.ReadFile(path)) << path;
    }
    for (const char* pattern : {"venues/lake/*.*", "VENUES/*", "venues/lake/peg?.dat", "none/*"}) {
        EXPECT_EQ(kept.FindFiles(pattern), plain.FindFiles(pattern)) << pattern;
    }
}

TEST(GameFolder, KeptListingsFollowWhatTheFolderWritesAndDeletes) {
    TempFolder game;
    WriteMixedCaseGame(game);
    // The root named with a separator at its end, as a user may type it.
    GameFolder folder(game.Path().string() + "/");
    const KeptListings keep(folder);
    struct Probe {
        const char* path;
        const char* onDisk;
    };
    for (const Probe& probe : {Probe{"VENUES/lake/Probe_test_.tmp", "Venues/Lake/Probe_test_.tmp"},
                               Probe{"Root_test_.tmp", "Root_test_.tmp"}}) {
        EXPECT_FALSE(folder.CanOpen(probe.path)) << probe.path;
        EXPECT_TRUE(folder.AppendFile(probe.path, "Test\n")) << probe.path;
        EXPECT_TRUE(game.Exists(probe.onDisk)) << probe.path;
        EXPECT_TRUE(folder.CanOpen(probe.path)) << probe.path;
        EXPECT_EQ(folder.ReadFile(probe.path), "Test\n") << probe.path;
        folder.RemoveFile(probe.path);
        EXPECT_FALSE(folder.CanOpen(probe.path)) << probe.path;
        EXPECT_FALSE(game.Exists(probe.onDisk)) << probe.path;
    }
    // A file written in another letter case is then found by its own.
    EXPECT_TRUE(folder.WriteFile("VENUES/LAKE/New.Tmp", "n"));
    EXPECT_TRUE(game.Exists("Venues/Lake/New.Tmp"));
    EXPECT_EQ(folder.ReadFile("VENUES/lake/new.tmp"), "n");
    EXPECT_EQ(folder.FindFiles("VENUES/lake/new.*"), std::vector<std::string>{"New.Tmp"});
    folder.RemoveFile("VENUES/lake/NEW.TMP");
    EXPECT_FALSE(game.Exists("Venues/Lake/New.Tmp"));
    EXPECT_TRUE(folder.FindFiles("VENUES/lake/new.*").empty());
}

TEST(GameFolder, ResolvedNamesFollowWhatTheFolderWritesAndDeletes) {
    TempFolder game;
    WriteMixedCaseGame(game);
    const GameFolder plain(game.Path());
    GameFolder kept(game.Path());
    const KeptListings keep(kept);
    // Each step changes the folder, then every name is resolved again (and
    // again, as a run names the same file more than once) as the disk has it.
    const std::vector<std::string> names = {"venues/lake/NEWFILE.txt", "VENUES/Lake/pegs.txt",
                                            "venues/lake/newfile.txt/inside", "Other_test_.tmp"};
    const std::vector<std::function<void()>> steps = {
        [] {},
        [&] { EXPECT_TRUE(kept.AppendFile("other_TEST_.tmp", "x")); },
        [&] { EXPECT_TRUE(kept.WriteFile("VENUES/LAKE/newfile.TXT", "n")); },
        [&] { kept.RemoveFile("Other_Test_.tmp"); },
        [&] { kept.RemoveFile("venues/lake/NewFile.txt"); },
    };
    for (size_t step = 0; step < steps.size(); ++step) {
        steps[step]();
        for (const std::string& name : names) {
            for (int again = 0; again < 2; ++again) {
                EXPECT_EQ(kept.Resolve(name), plain.Resolve(name)) << name << ", step " << step;
                EXPECT_EQ(kept.CanOpen(name), plain.CanOpen(name)) << name << ", step " << step;
            }
        }
    }
}

TEST(GameFolder, ListingsAreTakenAfreshForEveryRun) {
    // Within a run the listings are the game folder, as it stood when each
    // folder was first looked at.
    TempFolder game;
    WriteMixedCaseGame(game);
    GameFolder folder(game.Path());
    {
        const KeptListings keep(folder);
        EXPECT_FALSE(folder.CanOpen("VENUES/lake/late.txt"));
        EXPECT_FALSE(folder.CanOpen("VENUES/lake/pegs.txt/deeper"));
        // Written behind the listing's back: the run goes on without it.
        game.Write("Venues/Lake/late.txt", "late");
        EXPECT_FALSE(folder.ReadFile("VENUES/lake/late.txt"));
        // A file that went is not opened either.
        EXPECT_TRUE(folder.CanOpen("VENUES/LAKE/pegs.txt"));
        std::filesystem::remove(game.Path() / "Venues" / "Lake" / "Pegs.txt");
        EXPECT_FALSE(folder.ReadFile("VENUES/LAKE/pegs.txt"));
    }
    const KeptListings keep(folder);
    EXPECT_EQ(folder.ReadFile("VENUES/LAKE/LATE.TXT"), "late");
    EXPECT_FALSE(folder.CanOpen("VENUES/LAKE/pegs.txt"));
}

TEST(GameFolder, KeptListingsDoNotTakeAFileThatCannotBeReadForOne) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempFolder game;
    WriteMixedCaseGame(game);
    std::filesystem::permissions(game.Path() / "maxsize.txt", std::filesystem::perms::none);
    GameFolder folder(game.Path());
    const KeptListings keep(folder);
    EXPECT_FALSE(folder.CanOpen("MAXSIZE.TXT"));
    EXPECT_FALSE(folder.ReadFile("maxsize.txt"));
    EXPECT_TRUE(folder.CanOpen("venues/other.txt"));
}

TEST(GameFolder, TellsWhichFilesItReads) {
    TempFolder game;
    WriteMixedCaseGame(game);
    GameFolder folder(game.Path());
    std::vector<std::filesystem::path> read;
    folder.OnFileRead([&read](const std::filesystem::path& path) { read.push_back(path); });
    folder.ReadFile("VENUES/lake/pegs.txt");
    folder.CanOpen("maxsize.txt");
    folder.ReadFile("VENUES/lake/missing.txt");
    folder.OpenFile("MAXSIZE.TXT");
    const std::vector<std::filesystem::path> expected = {
        game.Path() / "Venues" / "Lake" / "Pegs.txt", game.Path() / "maxsize.txt"};
    EXPECT_EQ(read, expected);
}

// A window watches the folders a run listed: adding or removing a name there
// can change what the run finds.
TEST(GameFolder, TellsWhichFoldersItLists) {
    TempFolder game;
    WriteMixedCaseGame(game);
    const std::filesystem::path lake = game.Path() / "Venues" / "Lake";
    for (const bool keep : {true, false}) {
        GameFolder folder(game.Path());
        std::vector<std::filesystem::path> listed;
        folder.OnFolderListed(
            [&listed](const std::filesystem::path& path) { listed.push_back(path); });
        folder.KeepListings(keep);
        folder.ReadFile("VENUES/lake/pegs.txt");
        folder.ReadFile("venues/LAKE/Pegs.txt");
        folder.FindFiles("Venues/Lake/sub/*.txt");
        folder.KeepListings(false);
        // The second path goes into the other "venues", where no "LAKE" is.
        const std::vector<std::filesystem::path> expected = {
            game.Path(), game.Path() / "Venues", lake, game.Path() / "venues", lake / "sub"};
        EXPECT_EQ(listed, expected) << (keep ? "kept listings" : "without listings");
    }
}

TEST(HostFile, OpensRegularFilesOnly) {
    TempFolder game;
    game.Write("data.bin", std::string(300000, 'x') + "end");
    std::filesystem::create_directories(game.Path() / "folder");
    ASSERT_EQ(::mkfifo((game.Path() / "pipe").c_str(), 0600), 0);

    auto file = HostFile::Open(game.Path() / "data.bin");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Size(), 300003u);
    std::string piece(100000, '\0');
    EXPECT_EQ(file->Read(piece.data(), piece.size()), 100000u);
    std::string rest(300000, '\0');
    EXPECT_EQ(file->Read(rest.data(), rest.size()), 200003u);
    EXPECT_EQ(rest.substr(199997, 6), "xxxend");
    EXPECT_EQ(file->Read(rest.data(), rest.size()), 0u);

    // Neither a folder nor a pipe without a writer is opened, and nothing waits.
    EXPECT_FALSE(HostFile::Open(game.Path() / "folder"));
    EXPECT_FALSE(HostFile::Open(game.Path() / "pipe"));
    EXPECT_FALSE(HostFile::Open(game.Path() / "missing"));
}

TEST(GameFolder, ReadsAheadOnlyWhatCanBeReadTheSameInTurn) {
    TempFolder game;
    WriteMixedCaseGame(game);
    std::filesystem::create_symlink("Pegs.txt", game.Path() / "Venues" / "Lake" / "link.txt");
    GameFolder folder(game.Path());
    EXPECT_FALSE(folder.PathAhead("maxsize.txt")) << "without kept listings";
    const KeptListings keep(folder);
    ASSERT_TRUE(folder.PathAhead("MAXSIZE.TXT"));
    EXPECT_TRUE(folder.PathAhead("VENUES/lake/SUB/deep.txt"));
    for (const char* path : {"VENUES/lake/missing.txt", "VENUES/lake/link.txt", "VENUES/lake/sub",
                             "VENUES/lake/../../maxsize.txt", "./maxsize.txt", ""}) {
        EXPECT_FALSE(folder.PathAhead(path)) << path;
    }
    // Opened ahead only through folders: a folder on the way swapped for a
    // link is not followed.
    const auto ahead = folder.PathAhead("VENUES/lake/sub/deep.txt");
    ASSERT_TRUE(ahead);
    std::filesystem::rename(game.Path() / "Venues" / "Lake" / "sub",
                            game.Path() / "Venues" / "Lake" / "sub2");
    std::filesystem::create_directory_symlink("sub2", game.Path() / "Venues" / "Lake" / "sub");
    EXPECT_FALSE(GameFolder::OpenAhead(*ahead));
}

TEST(GameFolder, GivesWhatWasReadAheadOnlyWhereItIsWhatTheFileHoldsInTurn) {
    TempFolder game;
    WriteMixedCaseGame(game);
    game.Write("Venues/Lake/probe_test_.tmp", "before");
    std::filesystem::create_hard_link(game.Path() / "Venues" / "Lake" / "probe_test_.tmp",
                                      game.Path() / "Venues" / "Lake" / "second.txt");
    ReadAhead readAhead;
    GameFolder folder(game.Path());
    folder.UseReadAhead(&readAhead);
    std::vector<std::string> read;
    folder.OnFileRead(
        [&](const std::filesystem::path& path) { read.push_back(path.filename().string()); });
    const KeptListings keep(folder);
    folder.ReadFilesAhead({"maxsize.txt", "VENUES/lake/probe_test_.tmp", "VENUES/lake/second.txt",
                           "VENUES/lake/pegs.txt", "venues/other.txt"});
    // Nothing counts as read before its turn.
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(folder.ReadFile("MAXSIZE.txt"), "maxsize.txt");
    // Written to by the folder since, under another name of the same file.
    EXPECT_TRUE(folder.AppendFile("VENUES/lake/probe_test_.tmp", "Test\n"));
    EXPECT_EQ(folder.ReadFile("VENUES/lake/second.txt"), "beforeTest\n");
    // Deleted by the folder since.
    folder.RemoveFile("VENUES/lake/probe_test_.tmp");
    EXPECT_FALSE(folder.ReadFile("VENUES/lake/probe_test_.tmp"));
    EXPECT_EQ(folder.ReadFile("VENUES/lake/pegs.txt"), "Venues/Lake/Pegs.txt");
    const std::vector<std::string> inTurn = {"maxsize.txt", "second.txt", "Pegs.txt"};
    EXPECT_EQ(read, inTurn);
}

#ifdef __linux__
TEST(GameFolder, ALaterRunTakesAListingAgainOnlyWhileItsFolderIsUnchanged) {
    TempFolder game;
    WriteMixedCaseGame(game);
    // The folders' times must be settled before they are listed.
    std::this_thread::sleep_for(std::chrono::milliseconds(3200));
    GameFolder folder(game.Path());
    {
        const KeptListings keep(folder);
        EXPECT_FALSE(folder.CanOpen("VENUES/lake/late.txt"));
        game.Write("Venues/Lake/late.txt", "late");
        EXPECT_FALSE(folder.CanOpen("VENUES/lake/LATE.txt"));
    }
    {
        // The folder changed: listed again.
        const KeptListings keep(folder);
        EXPECT_EQ(folder.ReadFile("VENUES/lake/LATE.txt"), "late");
        EXPECT_EQ(folder.ReadFile("venues/OTHER.txt"), "venues/other.txt");
    }
    // Unchanged folders answer as the disk does, run after run; a file's
    // permissions are asked anew each run.
    std::filesystem::permissions(game.Path() / "venues" / "other.txt",
                                 std::filesystem::perms::none);
    const GameFolder plain(game.Path());
    const KeptListings keep(folder);
    EXPECT_EQ(folder.CanOpen("venues/other.txt"), plain.CanOpen("venues/other.txt"));
    EXPECT_EQ(folder.FindFiles("VENUES/*"), plain.FindFiles("VENUES/*"));
}
#endif

TEST(ToTextMode, DropsTheCarriageReturnOfEachLineEnd) {
    EXPECT_EQ(ToTextMode("a\r\nb\rc\r\n\r"), "a\nb\rc\n\r");
    // Against the byte-by-byte definition, on every text of up to six bytes
    // drawn from CR, LF and a letter.
    const auto plain = [](const std::string& text) {
        std::string out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            out.push_back(text[i]);
        }
        return out;
    };
    std::vector<std::string> texts = {""};
    size_t longest = 0;  // where the longest texts so far begin
    for (int length = 1; length <= 6; ++length) {
        const size_t end = texts.size();
        for (size_t i = longest; i < end; ++i) {
            for (char c : {'\r', '\n', 'x'}) texts.push_back(texts[i] + c);
        }
        longest = end;
    }
    for (const std::string& text : texts) EXPECT_EQ(ToTextMode(text), plain(text)) << text.size();
}

}  // namespace
}  // namespace venuecheck

namespace venuecheck {
namespace {

TEST(GameFolder, FoundPathsHaveTheLetterCaseOnDisk) {
    test::TempFolder game;
    game.Write("Pegs/Lake/Peg1.PEG", "");
    const GameFolder folder(game.Path());
    const struct {
        const char* written;
        const char* found;
    } cases[] = {
        {"pegs\\lake\\peg1.peg", "Pegs/Lake/Peg1.PEG"},
        {"PEGS/LAKE/missing.dat", "Pegs/Lake/missing.dat"},  // as written where nothing is
        {"nowhere\\Else\\x.txt", "nowhere/Else/x.txt"},
        {".\\pegs\\lake", "Pegs/Lake"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(folder.FoundPath(c.written), c.found) << c.written;
}

TEST(LineCounter, CountsTheLineFeedsBeforeAPosition) {
    const std::string text = "a\nbb\n\nc";
    LineCounter lines(text);
    EXPECT_EQ(lines.LineAt(0), 1);
    EXPECT_EQ(lines.LineAt(2), 2);
    EXPECT_EQ(lines.LineAt(5), 3);
    EXPECT_EQ(lines.LineAt(6), 4);
    EXPECT_EQ(lines.LineAt(99), 4);  // beyond the end: the last line
    EXPECT_EQ(lines.LineAt(1), 1);   // asking backwards counts again
}

}  // namespace
}  // namespace venuecheck
